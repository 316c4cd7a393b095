#pragma once

#include "platform/sys/Result.h"

#include <QString>

namespace sys {

// Copies source onto target, replacing an existing target. The copy is written to a
// temporary file beside the target and renamed over it only when complete, so a failed
// copy (missing source, full disk) leaves the old target as it was; its problem names the
// file that failed. The copy is its owner's alone (0600), whatever the old target's mode.
Status copyFileReplacing(const QString &source, const QString &target);

// Deletes a file; true when it is gone afterwards.
bool deleteFile(const QString &path);

} // namespace sys
