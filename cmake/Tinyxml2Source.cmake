# tinyxml2 compiled here as a static library from its source: Debian's source package, fetched by
# `scripts/setup --windows` or `scripts/setup --linux-release` into build-deps/ (never committed),
# or the folder DXL_TINYXML2_SOURCE names.
set(DXL_TINYXML2_SOURCE "" CACHE PATH "Folder holding tinyxml2.cpp and tinyxml2.h")
if(NOT DXL_TINYXML2_SOURCE)
    file(GLOB candidates ${CMAKE_SOURCE_DIR}/build-deps/tinyxml2-*/tinyxml2.cpp)
    if(NOT candidates)
        message(FATAL_ERROR "tinyxml2 source not found: run scripts/setup --windows "
                            "(or --linux-release) or set DXL_TINYXML2_SOURCE")
    endif()
    list(GET candidates 0 first)
    get_filename_component(found ${first} DIRECTORY)
    set(DXL_TINYXML2_SOURCE ${found} CACHE PATH "Folder holding tinyxml2.cpp and tinyxml2.h" FORCE)
endif()
add_library(tinyxml2 STATIC ${DXL_TINYXML2_SOURCE}/tinyxml2.cpp)
target_include_directories(tinyxml2 SYSTEM PUBLIC ${DXL_TINYXML2_SOURCE})
target_compile_options(tinyxml2 PRIVATE -w)
add_library(tinyxml2::tinyxml2 ALIAS tinyxml2)
