#pragma once

// The mail component: Japanese text-code conversion of downloaded pages, POP3 receiving,
// mail-file reading and SMTP sending. One instance lives for the run (gobjBASP).
class Basp {
public:
    Basp() = default;
};
