#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh DIR [cmake options...]
# The options are applied every time, so a folder configured differently before is
# brought back to what the caller asks for.
set -euo pipefail
dir=$1; shift
generator=()
if [ ! -f "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
# ccache, when a developer has it, serves every worktree of the checkout from one cache.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=$PWD
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" "${generator[@]}" "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
