# The libraries of the Windows cross build: nlohmann-json is header-only and comes from the host's
# package; tinyxml2 is compiled here from Debian's source package, fetched by
# `scripts/setup --windows` into build-deps/ (never committed).

# Only the nlohmann folder of the host's headers is put on the include path, never /usr/include.
find_path(DXL_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK ${DXL_NLOHMANN_JSON_INCLUDE}/nlohmann ${host_headers}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${host_headers})

set(DXL_TINYXML2_SOURCE "" CACHE PATH "Folder holding tinyxml2.cpp and tinyxml2.h")
if(NOT DXL_TINYXML2_SOURCE)
    file(GLOB candidates ${CMAKE_SOURCE_DIR}/build-deps/tinyxml2-*/tinyxml2.cpp)
    if(NOT candidates)
        message(FATAL_ERROR "tinyxml2 source not found: run scripts/setup --windows "
                            "or set DXL_TINYXML2_SOURCE")
    endif()
    list(GET candidates 0 first)
    get_filename_component(found ${first} DIRECTORY)
    set(DXL_TINYXML2_SOURCE ${found} CACHE PATH "Folder holding tinyxml2.cpp and tinyxml2.h" FORCE)
endif()
add_library(tinyxml2 STATIC ${DXL_TINYXML2_SOURCE}/tinyxml2.cpp)
target_include_directories(tinyxml2 SYSTEM PUBLIC ${DXL_TINYXML2_SOURCE})
target_compile_options(tinyxml2 PRIVATE -w)
add_library(tinyxml2::tinyxml2 ALIAS tinyxml2)
