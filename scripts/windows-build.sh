# Sourced by the Windows scripts (tests, installer): the cross-build tree BUILD/tarnwick with
# GoogleTest and libcurl built once per build folder by the same toolchain.
windows_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
windows_toolchain="$windows_root/cmake/toolchain-mingw64.cmake"
tarnwick_version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' "$windows_root/CMakeLists.txt")

# Debian's curl source package for the machine's own release, unpacked into dir/curl. apt works
# from a configuration of its own under dir, with deb-src entries copied from the machine's
# Debian entries: the machine's sources and package lists stay as they are.
fetch_curl_source() {
    local dir=$1 codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    rm -rf "$dir"
    mkdir -p "$dir/parts" "$dir/state/lists/partial" "$dir/cache/archives/partial"
    local sources=(/etc/apt/sources.list.d/*.sources)
    [[ -e ${sources[0]} ]] || sources=()
    {
        awk -v RS= -v ORS='\n\n' -v release="$codename" \
            '/(^|\n)Types:[^\n]*deb/ && $0 ~ "(^|\n)Suites:[^\n]*" release {
                 sub(/Types:[^\n]*/, "Types: deb-src"); print }' "${sources[@]}" /dev/null
    } > "$dir/parts/debian.sources"
    grep -hE "^deb\s.*\s$codename(-[a-z]+)?\s" /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        2>/dev/null | sed 's/^deb\s/deb-src /' > "$dir/parts/debian.list" || true
    local apt=(apt-get -qq -o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$dir/parts"
               -o Dir::State="$dir/state" -o Dir::Cache="$dir/cache" -o APT::Sandbox::User=root)
    "${apt[@]}" update
    (cd "$dir" && "${apt[@]}" source curl > /dev/null)
    mv "$dir"/curl-[0-9]*/ "$dir/curl"
}

# libcurl for twkd.dll in build/curl-install (curl_prefix names it afterwards), built once per
# build folder with the given toolchain from Debian's own curl sources (Debian has no libcurl for
# mingw): static, Schannel for TLS and nothing else, only the protocols the library needs (HTTP
# stays: this version does not build without it), and no CA bundle of the build host (Schannel
# uses the system's store unless twkd.ini names a CA file).
build_windows_libcurl() {
    local build=$1 toolchain=$windows_toolchain started=$SECONDS
    curl_prefix="$build/curl-install"
    [[ -f "$curl_prefix/lib/cmake/CURL/CURLConfig.cmake" ]] && return 0
    fetch_curl_source "$build/curl-source"
    cmake -S "$build/curl-source/curl" -B "$build/curl" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$curl_prefix" -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF \
        -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF \
        -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF \
        -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF -DCURL_USE_GSSAPI=OFF \
        -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_FTP=ON \
        -DCURL_DISABLE_TELNET=ON -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_FILE=ON \
        -DCURL_DISABLE_TFTP=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_POP3=ON \
        -DCURL_DISABLE_IMAP=ON -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_MQTT=ON \
        -DCURL_DISABLE_SMB=ON -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none > /dev/null
    cmake --build "$build/curl" --target install -j 2 > /dev/null
    echo "libcurl for Windows built in $((SECONDS - started)) s"
}

# GoogleTest in build/googletest-install (gtest_prefix), built once per build folder.
build_windows_gtest() {
    local build=$1
    gtest_prefix="$build/googletest-install"
    [[ -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]] && return 0
    cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF \
        -DCMAKE_INSTALL_PREFIX="$gtest_prefix" > /dev/null
    cmake --build "$build/googletest" --target install -j 2 > /dev/null
}

# The tree build/tarnwick, configured for Windows with its prerequisites built.
configure_windows_tree() {
    local build=$1
    build_windows_gtest "$build"
    build_windows_libcurl "$build"
    cmake -S "$windows_root" -B "$build/tarnwick" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DTARNWICK_CORE_ONLY=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_PREFIX_PATH="$gtest_prefix;$curl_prefix" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$windows_root/tests/support/wine_run.sh" > /dev/null
}
