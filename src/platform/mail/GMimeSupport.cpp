#include "platform/mail/GMimeSupport.h"

namespace mail {

void initGMime()
{
    static const bool initialised = [] {
        g_mime_init();
        return true;
    }();
    (void)initialised;
}

} // namespace mail
