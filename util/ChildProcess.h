#pragma once

class QProcess;

enum class ChildPriority { Normal, Background };

// Sets up a tool's process the way every use of a tool needs: the null device
// as its standard input (a terminal would stop it in the background), and,
// where the system allows, its end when Tessaly itself is killed. A
// background tool yields the processor to the others.
void prepareChildProcess(QProcess &process, ChildPriority priority = ChildPriority::Normal);
