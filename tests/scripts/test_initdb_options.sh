#!/usr/bin/env bash
# The database tool: --help prints its usage, an unknown option or a wrong count of
# arguments is refused with the usage and exit code 2, and none of them creates a folder.
set -euo pipefail
tool=${1:?usage: test_initdb_options.sh NIMBRA_INITDB}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAILED: $1"
  exit 1
}

out=$("$tool" --help) || fail "--help did not exit 0"
[[ $out == usage:* ]] || fail "--help printed no usage: $out"

for args in "--bogus" "" "a b"; do
  # shellcheck disable=SC2086 # the words are the arguments
  if "$tool" $args >/dev/null 2>err.txt; then fail "'$args' was accepted"; else rc=$?; fi
  [ "$rc" -eq 2 ] || fail "'$args' exited $rc, not 2"
  grep -q '^usage:' err.txt || fail "'$args' printed no usage"
done
grep -q 'unknown option --bogus' <("$tool" --bogus 2>&1 || true) || fail "the unknown option is not named"
[ -z "$(find . -mindepth 1 -type d)" ] || fail "a refused call created a folder"

"$tool" dbs || fail "a folder argument was refused"
[ -f dbs/Nimbra_mst.mdb ] && [ -f dbs/Nimbra.mdb ] || fail "the databases were not created"
echo "nimbra-initdb options: passed"
