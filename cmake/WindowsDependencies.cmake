# The libraries of the Windows cross build: nlohmann-json is header-only and comes from the host's
# package; tinyxml2 is always compiled from Debian's source package (cmake/Tinyxml2Source.cmake).

# Only the nlohmann folder of the host's headers is put on the include path, never /usr/include.
find_path(DXL_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(CREATE_LINK ${DXL_NLOHMANN_JSON_INCLUDE}/nlohmann ${host_headers}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${host_headers})

include(${CMAKE_CURRENT_LIST_DIR}/Tinyxml2Source.cmake)
