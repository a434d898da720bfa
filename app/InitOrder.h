#pragma once

// Process-wide objects built before main() in a fixed order, whatever translation unit
// or library defines them. Lower stages are built first and destroyed last:
//
//     KORVO_INIT_ARGS      the program's command line (game/CommandLine.cpp): may move to
//                          another working folder, or end the process, before the log opens
//     KORVO_INIT_NAMES     constant names other globals may use ("Walk1" ...)
//     KORVO_INIT_LOG       the global scene pointer: the first Sys::Log, which opens the
//                          log file and writes its banner
//     KORVO_INIT_CVARS     the configuration variables (the first creates the registry)
//     KORVO_INIT_GL        the process-wide GL descriptions
//     KORVO_INIT_LOADERS   the shader loader
//
// Usage: `Sys::Ptr<Game::IDemo> g_Demo KORVO_INIT_ORDER(KORVO_INIT_LOG);`
// Objects without a stage are built after all of these. Stage 101 is taken by the
// process clock's start time (platform/Clock.cpp).
#define KORVO_INIT_ARGS 900
#define KORVO_INIT_NAMES 1000
#define KORVO_INIT_LOG 1100
#define KORVO_INIT_CVARS 1200
#define KORVO_INIT_GL 1300
#define KORVO_INIT_LOADERS 1400

#define KORVO_INIT_ORDER(stage) __attribute__((init_priority(stage)))
