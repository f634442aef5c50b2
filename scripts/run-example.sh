#!/usr/bin/env bash
# Runs the main job on the bundled example project: shows it, then runs the
# automatic optimisation on it.
set -euo pipefail
bin=${1:-build/bin}
here=$(cd "$(dirname "$0")/.." && pwd)
export VELMORA_HOME="$bin"
"$bin/velmora-cli" show "$here/examples/kitchen.vlp"
echo
"$bin/velmora-cli" optimize "$here/examples/kitchen.vlp"
