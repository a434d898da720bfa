# The executable `korvo`: entry point, main window and loop, and the scene factory, on top
# of every library. It is built into the top of the build folder, where run.sh and the
# tests expect it.
add_executable(korvo EntryPoint.cpp Main.cpp CommandLine.cpp CreateDemo.cpp)
target_compile_definitions(korvo PRIVATE KORVO_VERSION="${PROJECT_VERSION}")
target_link_libraries(korvo PRIVATE korvo_game korvo_media korvo_config korvo_app
                                    korvo_platform)
set_target_properties(korvo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
