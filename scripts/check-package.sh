#!/bin/sh
# Installs into a temporary prefix and builds a C and a C++ program against
# the installed package, with CMake and with pkg-config, then runs them.
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
make -s install PREFIX="$prefix" > /dev/null
echo "== CMake"
cmake -S tests/package -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/consumer" > /dev/null
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer/consumer_c"
"$prefix/consumer/consumer_cxx"
echo "== pkg-config"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
cc tests/package/consumer.c $(pkg-config --cflags --libs qstr14) -o "$prefix/pc_c"
LD_LIBRARY_PATH="$prefix/lib" "$prefix/pc_c"
c++ -std=c++17 tests/package/consumer.cpp $(pkg-config --cflags qstr14) "$prefix/lib/libqstr14.a" \
  $(pkg-config --libs --static qstr14 | sed 's/-lqstr14//') -o "$prefix/pc_cxx"
"$prefix/pc_cxx"
echo "package: installed files, CMake package and pkg-config file work"
