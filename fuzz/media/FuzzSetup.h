#pragma once

// Every failure writes the log file: fuzz in a scratch folder of our own. Corpus and
// artifact paths given relative to the starting folder are made absolute first.
void EnterScratchFolder(const char* name, int* argc, char*** argv);
