#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Nimbra need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  qt6-base-dev
  libsqlite3-dev
  libcurl4-openssl-dev
  libgumbo-dev
  libgmime-3.0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev
  fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
