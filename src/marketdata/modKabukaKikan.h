#pragma once

#include <QDate>
#include <QString>

// The oldest and newest stored day in ttstocks up to `day`, of one stock (code and
// market) or of all stocks when the code is blank. Without a row both are 2000/01/01.
void getKabukaKikan(const QString &code, const QString &market, const QDate &day, QDate &first, QDate &last);
