#!/usr/bin/env bash
# tools/setup.sh - set up a fresh Debian 12 machine, build, and play or test.
#
#   tools/setup.sh play   install what is missing, build, run the toy (build/fuurin)
#   tools/setup.sh test   install what is missing, build, run every test:
#                         the headless suite, the window tests under xvfb-run,
#                         then the headless suite again with AddressSanitizer
#                         and UndefinedBehaviorSanitizer (build-asan/)
#
# Packages come from apt (with sudo when not root). Builds use two jobs.
set -euo pipefail

cd "$(dirname "$0")/.."
mode="${1:-play}"
jobs="${OV_JOBS:-2}"

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfreetype-dev
          libfontconfig-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev libx11-dev
          fonts-ipafont-mincho fonts-ipafont-gothic)
if [ "$mode" = test ]; then packages+=(xvfb xauth); fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

case "$mode" in
play)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOV_BUILD_TESTS=OFF -DOV_BUILD_BENCHMARKS=OFF
    cmake --build build -j "$jobs" --target fuurin
    exec ./build/fuurin
    ;;
test)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOV_WERROR=ON
    cmake --build build -j "$jobs"
    ctest --test-dir build -L headless -j "$jobs" --output-on-failure
    xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build -L sdl --output-on-failure
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DOV_WERROR=ON -DOV_SANITIZE=ON -DOV_BUILD_BENCHMARKS=OFF
    cmake --build build-asan -j "$jobs" --target ovtests
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan -L headless -j "$jobs" --output-on-failure
    echo "setup: every test passed"
    ;;
*)
    echo "usage: tools/setup.sh play|test" >&2
    exit 2
    ;;
esac
