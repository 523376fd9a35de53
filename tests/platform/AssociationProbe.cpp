// Runs one association step with the XDG folders of its environment, so that a
// test can run it as another user. Prints the error message and exits 1 when
// the step fails.
#include "errors/ErrorMessages.h"
#include "platform/FileAssociation.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[2], "associate") != 0 && std::strcmp(argv[2], "dissociate") != 0)) {
        std::cerr << "usage: association_probe PROGRAM associate|dissociate\n";
        return 2;
    }
    const velmora::FileAssociation association(argv[1], velmora::XdgFolders::FromEnvironment());
    try {
        if (std::strcmp(argv[2], "associate") == 0) {
            association.Associate();
        } else {
            association.Dissociate();
        }
    } catch (const velmora::Error& error) {
        std::cout << error.what();
        return 1;
    }
    return 0;
}
