#!/usr/bin/env bash
# Runs the include-direction check on a small tree: it passes while every include points
# down, and names the file and line of an upward, a sideways and a rootless include.
set -euo pipefail
check=${1:?usage: test_check_include_direction.sh CHECK_SCRIPT}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

mkdir -p "$tree"/platform/db "$tree"/core "$tree"/marketdata "$tree"/tool
printf '#pragma once\n' >"$tree"/platform/db/Connection.h
printf '#include "platform/db/Connection.h"\n#include <QString>\n' >"$tree"/core/modLog.h
printf '#include "core/modLog.h"\n#include "platform/db/Connection.h"\n' >"$tree"/marketdata/modCalc.cpp
printf '#include "platform/db/Connection.h"\n' >"$tree"/tool/main.cpp
layers=(platform:platform/db core:core marketdata:marketdata -- tool:platform)

fail() {
  echo "FAILED: $1"
  echo "$output"
  exit 1
}

output=$(bash "$check" "$tree" "${layers[@]}") || fail "a clean tree was refused"

printf '#include "platform/db/Connection.h"\n\n#include "marketdata/modCalc.h"\n' >"$tree"/core/modDB.cpp
printf '#include "core/modLog.h"\n' >"$tree"/tool/other.cpp
printf '#include "modLog.h"\n' >"$tree"/core/modUtil.cpp
if output=$(bash "$check" "$tree" "${layers[@]}"); then
  fail "upward includes were accepted"
fi
for expected in 'core/modDB.cpp:3: "marketdata/modCalc.h" is in the higher layer marketdata' \
                'tool/other.cpp:1: "core/modLog.h" is not among what tool may include' \
                'core/modUtil.cpp:1: "modLog.h" does not name a layer'"'"'s folder'; do
  [[ $output == *"$expected"* ]] || fail "missing: $expected"
done
echo "include-direction check: passed"
