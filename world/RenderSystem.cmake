# The render system: its own small library, so that it builds apart from the rest of the
# world front end and pulls in the GL layer only where it is used.
korvo_library(korvo_render_system
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RenderGL2.cpp
    DEPS korvo_app korvo_config korvo_gl)
