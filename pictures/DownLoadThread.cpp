#include "pictures/DownLoadThread.h"

#include <memory>
#include <thread>

namespace velmora {

void TDownLoadThread::Start(THTMLPicture& picture) {
    std::thread([worker = std::unique_ptr<TDownLoadThread>(new TDownLoadThread(picture))] {
        worker->Execute();
    }).detach();
}

// Must touch nothing: the picture may be gone by the time the thread runs.
void TDownLoadThread::Execute() {}

} // namespace velmora
