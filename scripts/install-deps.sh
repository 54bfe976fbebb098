#!/usr/bin/env bash
# Installs the Debian packages the build needs, when a fresh machine lacks them.
set -euo pipefail

need=()
for package in cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev "$@"; do
  dpkg -s "$package" >/dev/null 2>&1 || need+=("$package")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
