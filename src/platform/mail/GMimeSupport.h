#pragma once

// GLib names a struct member "signals", which Qt defines as a keyword macro.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <memory>

// GMime's one-time set-up and owning pointers for its reference-counted objects (for the
// platform's own sources; GMime is a private dependency of the platform layer).
namespace mail {

void initGMime();

struct GObjectUnref {
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T>
using GRef = std::unique_ptr<T, GObjectUnref>;

struct GFreeText {
    void operator()(char *text) const { g_free(text); }
};
using GText = std::unique_ptr<char, GFreeText>;

} // namespace mail
