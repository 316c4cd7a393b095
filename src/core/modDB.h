#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QStringList>

// The four price tables that the working database reaches in the price database.
const QStringList &linkedTableNames();

// Checks that the working database can reach the price tables: the price database holds
// all four, and the working database holds no local table of one of their names (which
// would hide the real one). Throws std::runtime_error with a message naming the problem.
void relinkTables(const QString &priceDbPath, const QString &workDbPath);

// The program's two database files. Each carries its layout version in PRAGMA user_version.
enum class DatabaseKind { Price, Work };

// The layout version this program works with: the version data/schema.sql gives a new file
// and the one the upgrade walk brings an older file to.
int schemaVersion(DatabaseKind kind);

// Brings an older file up to schemaVersion() one step at a time; each step and its new
// version number are one transaction, so an interrupted walk resumes where it stopped. A
// file newer than the program throws, and is left as it is.
void upgradeSchema(db::Connection &connection, DatabaseKind kind);

// Opens the working database, brings its layout up to date and attaches the price database
// to it, so the price tables are reached by their plain names.
void openWorkDatabase(db::Connection &connection, const QString &workDbPath, const QString &priceDbPath);

// Brings the price database's layout up to date, which makes sure ttstocks has its
// volume-ratio columns VRA and VRB. True when both were there; false when a missing one
// has just been added (the indicators then need a full recalculation). An unreadable
// database throws.
bool checkVRColumn();

// Resets the indicator periods SMAS ... EMAL, RSIA and VRS to their standard values and
// switches averaging down off in the live order settings, then saves every setting. Runs
// at every start, so changes to these values hold only until the next start.
void changeRegistryLayout();
