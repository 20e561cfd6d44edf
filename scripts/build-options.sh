# shellcheck shell=bash
# Sourced by the scripts that build (never run by itself), from the checkout's root: the job
# count and the CMake configure options of each build folder, so that an option changes here
# alone, and the project's version.

# shellcheck disable=SC2034
build_jobs=$(nproc)

# Every program and test (build/).
configure_plain() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDXL_WERROR=ON >/dev/null
}

# Every program and test under AddressSanitizer and UBSan (build-asan/).
configure_sanitized() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Debug -DDXL_SANITIZE=ON -DDXL_WERROR=ON >/dev/null
}

# The fuzz targets, with clang (build-fuzz/).
configure_fuzz() {
    CC=clang CXX=clang++ cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Debug -DDXL_FUZZ=ON \
        -DDXL_WERROR=ON -DDXL_BUILD_TESTS=OFF >/dev/null
}

# The Linux release, configured through the command given (linux_tree_run: in the Debian 11
# tree, where the checkout is /src/dxlexporter and the build folder /build/release).
configure_linux_release() {
    "$@" cmake -S /src/dxlexporter -B /build/release -DCMAKE_BUILD_TYPE=Release \
        -DDXL_WERROR=ON -DDXL_BUILD_TESTS=OFF -DDXL_STATIC_RUNTIME=ON -DDXL_TINYXML2=source \
        -DCMAKE_INSTALL_PREFIX=/build/install >/dev/null
}

# A Windows cross build in folder $1 with the toolchain file $2.
configure_windows() {
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release \
        -DDXL_WERROR=ON >/dev/null
}

# The version in CMakeLists.txt's project(), e.g. 1.0.0.
project_version() {
    sed -n 's/^project(DxlExporter VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt
}

# The Linux release archive scripts/package-linux writes.
linux_archive() {
    echo "dist/dxlexporter-$(project_version)-linux-x86_64.tar.gz"
}
