#!/bin/sh
# Installs into a temporary prefix and builds C and C++ programs against the
# installed package, shared and static, with CMake and with pkg-config,
# then runs them.
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
make -s install PREFIX="$prefix" > /dev/null
echo "== manual"
grep -q '^\.SS convert' "$prefix/share/man/man1/qstr.1" && grep -q '^\.B QSTR14_REGISTRY' "$prefix/share/man/man1/qstr.1" ||
  { echo "package: the manual page is missing or incomplete"; exit 1; }
echo "== CMake"
cmake -S tests/package -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/consumer" > /dev/null
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer/consumer_c"
"$prefix/consumer/consumer_c_static"
"$prefix/consumer/consumer_cxx"
echo "== pkg-config"
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
cc tests/package/consumer.c $(pkg-config --cflags --libs qstr14) -o "$prefix/pc_c"
LD_LIBRARY_PATH="$prefix/lib" "$prefix/pc_c"
# Static: the archive itself, then what `pkg-config --static` adds to it.
static_libs=$(pkg-config --libs --static qstr14 | sed 's/-lqstr14//')
cc tests/package/consumer.c $(pkg-config --cflags qstr14) "$prefix/lib/libqstr14.a" $static_libs -o "$prefix/pc_c_static"
"$prefix/pc_c_static"
c++ -std=c++17 tests/package/consumer.cpp $(pkg-config --cflags qstr14) "$prefix/lib/libqstr14.a" $static_libs -o "$prefix/pc_cxx"
"$prefix/pc_cxx"
echo "== Python"
# Debian's python3 (with pip, setuptools and wheel from python3-pip), not
# another one earlier on the PATH.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
"$python" -m pip install -q --no-index --no-build-isolation --root-user-action=ignore --target "$prefix/python" ./python
LD_LIBRARY_PATH="$prefix/lib" PYTHONPATH="$prefix/python" QSTR14_REGISTRY=:memory: \
  "$python" -c "import qstr14; assert qstr14.sorted(['luz', 'llama'], 'ES') == ['luz', 'llama']"
echo "package: installed files, manual, CMake package, pkg-config file and Python package work"
