#pragma once

#include <QString>

// Where the broker's site is: the site file's [Hosts] entries Broker (its base address),
// BrokerDomain (default: Broker's host) and Neutral (the page shown after a balance read,
// default about:blank). The broker is reached over https only, except on this machine
// (127.0.0.1, localhost), where the test broker answers over plain http.
struct BrokerSite {
    QString gateway; // Broker + "ETGate/": where a step starts
    QString scheme;  // Broker's scheme, in lower case
    QString domain;  // in lower case
    int port = 0;    // Broker's port, else its scheme's default port
    QString neutral;
    QString problem; // why there is no usable broker address; empty when there is

    bool ok() const { return problem.isEmpty(); }
};

BrokerSite brokerSite();

// Whether `url` is a page of the broker: same scheme and port as Broker (a missing port is
// the scheme's default), and a host equal to the domain or ending in "." + domain. An
// address that merely contains the domain is not.
bool isBrokerPage(const QString &url, const BrokerSite &site);
