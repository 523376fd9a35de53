#include "files/testing/ScratchFiles.h"

#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testkit {

constexpr uid_t kNobodyId = 65534;

TempFolder::TempFolder(const std::string& base) {
    std::string pattern =
        (base.empty() ? std::filesystem::temp_directory_path().string() : base) + "/velmora-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder in " + pattern);
    }
    path_ = pattern + "/";
}

void HandToUnprivilegedUser(const std::string& path) {
    if (::geteuid() == 0 && ::chown(path.c_str(), kNobodyId, kNobodyId) != 0) {
        throw std::runtime_error("cannot hand " + path + " over");
    }
}

std::string RunUnprivileged(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobodyId, kNobodyId, kNobodyId) != 0 ||
             ::setresuid(kNobodyId, kNobodyId, kNobodyId) != 0)) {
            ::_exit(3);
        }
        std::string result;
        try {
            result = work();
        } catch (const std::exception& error) {
            result = std::string("exception: ") + error.what();
        }
        const char* data = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], data, left);
            if (written <= 0) {
                ::_exit(4);
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string output;
    char chunk[4096];
    for (ssize_t got; (got = ::read(channel[0], chunk, sizeof chunk)) > 0;) {
        output.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the unprivileged child failed");
    }
    return output;
}

} // namespace velmora::testkit
