#pragma once

// Every failure writes the log file: fuzz in a scratch folder of our own.
void EnterScratchFolder(const char* name);
