#pragma once

namespace velmora {

class THTMLPicture;

// The worker a picture starts for an address it cannot load itself. Nothing is ever fetched: the
// worker's body is empty, so it ends at once and frees itself; the picture stays busy.
class TDownLoadThread {
public:
    static void Start(THTMLPicture& picture);

private:
    explicit TDownLoadThread(THTMLPicture& picture) : targetPicture_(&picture) {}
    void Execute();

    THTMLPicture* targetPicture_;
};

} // namespace velmora
