#pragma once

#include <QtGlobal>

namespace mail {

// The largest mail the program takes in. A notice is a few hundred bytes; a mail beyond this
// is something else, and holding it in memory would only cost the program its memory.
inline constexpr qint64 kMaxMailBytes = 64 * 1024 * 1024;

} // namespace mail
