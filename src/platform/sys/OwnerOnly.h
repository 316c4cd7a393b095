#pragma once

#include <QFileDevice>
#include <QString>

// The program's files hold the investor's orders, prices, mails and passwords: they are
// for the user who runs it alone, files 0600 and folders 0700.
namespace sys {

inline constexpr QFileDevice::Permissions kOwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// From now on every file and folder this process creates is its owner's alone (the
// process's file-creation mask becomes 077).
void createFilesOwnerOnly();

// Makes an existing file 0600, or folder 0700: one that an earlier version, another tool
// or a wider file-creation mask left readable by others. False when it is missing or its
// mode cannot be changed.
bool makeOwnerOnly(const QString &path);

// Creates `folder` when missing and makes it and each folder between `within` and it
// owner-only; true when it exists afterwards.
bool createOwnerOnlyFolder(const QString &folder, const QString &within);

} // namespace sys
