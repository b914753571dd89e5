#pragma once

class QProcess;

// Sets up a tool's process the way every use of a tool needs: the null device
// as its standard input (a terminal would stop it in the background), and,
// where the system allows, its end when Tessaly itself is killed.
void prepareChildProcess(QProcess &process);
