# The executable `korvo`: entry point, main window and loop, and the scene factory.
# It is defined once every folder has been read, so that it can tell whether the scene
# library and the shader loader are part of this build.

function(korvo_add_program)
    # The loop needs the configuration registry; without it there is no program yet.
    if(NOT TARGET korvo_config)
        return()
    endif()
    set(app ${PROJECT_SOURCE_DIR}/app)
    set(has_scenes 0)
    set(scene_libs)
    if(TARGET korvo_game)
        get_target_property(game_sources korvo_game SOURCES)
        if("Orvel_DAZU.cpp" IN_LIST game_sources AND "Orvel_ZORI.cpp" IN_LIST game_sources)
            set(has_scenes 1)
            set(scene_libs korvo_game)
        endif()
    endif()
    set(has_loader 0)
    set(loader_libs)
    if(TARGET korvo_media AND EXISTS ${PROJECT_SOURCE_DIR}/media/ShaderLoader.h)
        set(has_loader 1)
        set(loader_libs korvo_media)
    endif()

    add_executable(korvo ${app}/EntryPoint.cpp ${app}/Main.cpp ${app}/CreateDemo.cpp)
    target_compile_definitions(korvo PRIVATE
        KORVO_HAS_SCENES=${has_scenes} KORVO_HAS_SHADER_LOADER=${has_loader})
    target_link_libraries(korvo PRIVATE
        ${scene_libs} ${loader_libs} korvo_config korvo_app korvo_platform)
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL korvo_add_program)
