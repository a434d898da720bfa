# Helpers shared by every folder of the project.

# korvo_library(<name> SOURCES ... DEPS ...)
# One static library per subsystem folder. Code includes "app/Log.h", "gl/Texture2D.h" and
# so on, but a library sees only its own folder and the folders of the libraries it links
# (DEPS, passed on to whoever links it): each subsystem folder gets an include root of its
# own in the build folder, <build>/include/<folder>, holding nothing but a link named
# <folder> to the source folder. A library that includes a header of a library above it
# (one it does not link) therefore fails to compile instead of tying the layers into a
# knot. Libraries of tools/ and tests/ sit above every layer and see the whole tree.
function(korvo_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    get_filename_component(parent ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
    if(parent STREQUAL PROJECT_SOURCE_DIR)
        get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
        set(root ${PROJECT_BINARY_DIR}/include/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
        target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${root}>)
    else()
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    endif()
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# korvo_test(<name> SOURCES ... DEPS ... [GL [OWN_DISPLAY]] [LABELS ...])
# A GoogleTest executable registered with CTest. Every test runs in a fresh working
# directory of its own under the build tree, so files such as sys_Log.log and
# sys_Config.conf never collide. GL tests need the Xvfb fixture (tests/CMakeLists.txt).
# OWN_DISPLAY: a GL test that changes the screen (its mode, its gamma ramp) or reads back
# what a shown window shows runs on an X server of its own. On the shared one it would
# change the screen under the tests running beside it, or find their windows, all placed
# at the same corner, covering its own.
function(korvo_test name)
    cmake_parse_arguments(ARG "GL;OWN_DISPLAY" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
    set(workdir ${PROJECT_BINARY_DIR}/testrun/${name})
    file(MAKE_DIRECTORY ${workdir})
    set(labels unit ${ARG_LABELS})
    if(ARG_GL AND ARG_OWN_DISPLAY)
        add_test(NAME ${name}
            COMMAND ${PROJECT_SOURCE_DIR}/tests/with-display.sh --own
                    ${KORVO_XVFB_STATE}-${name} $<TARGET_FILE:${name}>
            WORKING_DIRECTORY ${workdir})
        set(labels gl ${ARG_LABELS})
    elseif(ARG_GL)
        # GL tests run on the display of the Xvfb fixture (tests/xvfb.sh).
        add_test(NAME ${name}
            COMMAND ${PROJECT_SOURCE_DIR}/tests/with-display.sh ${KORVO_XVFB_STATE}
                    $<TARGET_FILE:${name}>
            WORKING_DIRECTORY ${workdir})
        set(labels gl ${ARG_LABELS})
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED Xvfb)
    else()
        add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${workdir})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}"
        ENVIRONMENT "KORVO_SOURCE_DIR=${PROJECT_SOURCE_DIR};KORVO_MEDIA_DIR=${KORVO_DATA_DIR};KORVO_MESSAGEBOX=stderr")
endfunction()

# korvo_fuzzer(fuzz_<name> SOURCES ... DEPS ...)
# A libFuzzer program (configurations with KORVO_FUZZ=ON and clang only). Every fuzz
# program lands in <build>/fuzz and is built by the target korvo_fuzzers; .ci/run runs
# each one with the seed corpus fuzz/corpus/<name> when that folder exists.
if(KORVO_FUZZ AND NOT TARGET korvo_fuzzers)
    add_custom_target(korvo_fuzzers)
endif()
function(korvo_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
    add_dependencies(korvo_fuzzers ${name})
endfunction()
