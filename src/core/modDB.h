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

// Opens the working database and attaches the price database to it, so the price tables
// are reached by their plain names, then brings their indexes up to date (addIndexes).
void openWorkDatabase(db::Connection &connection, const QString &workDbPath, const QString &priceDbPath);

// Creates the indexes that databases of an earlier version lack on an open working
// database with the price database attached, and drops the one they replace. Does nothing
// when they are there.
void addIndexes(db::Connection &connection);

// Makes sure ttstocks of the price database has its volume-ratio columns VRA and VRB.
// True when both were there; false when a missing one has just been added (the
// indicators then need a full recalculation). An unreadable database throws.
bool checkVRColumn();

// Resets the indicator periods SMAS ... EMAL, RSIA and VRS to their standard values and
// switches averaging down off in the live order settings, then saves every setting. Runs
// at every start, so changes to these values hold only until the next start.
void changeRegistryLayout();
