# The shader loader: its own small library so that it builds apart from the model loaders
# and links only the GL layer.
korvo_library(korvo_shaderloader
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShaderLoader.cpp
    DEPS korvo_app korvo_gl)
