#pragma once

class NimbraApplication;

// The whole run of the program on the application object `app`: start-up, the main
// window's event loop and the system's requests to end it (SIGTERM, SIGINT, SIGHUP),
// carried out in order. Returns the program's exit code: 0 after an orderly end (also
// when a request ended the start-up), 1 after an error that ended it, or start-up's own
// code when it refused to start.
int runProgram(NimbraApplication &app);
