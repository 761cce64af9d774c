#!/usr/bin/env bash
# The main job: a real measurement against the bundled simulated SAP landscape.
#
# Builds the sensor, the profile tool and the stand-in RFC library where
# needed, lays out the demo landscape of examples/demo/ in build/demo/
# (profiles written with vaultgauge-profile), and runs the sensor on the
# production system PRD, printing the document PRTG receives.
#
#   scripts/demo.sh                 the measurement of PRD
#   scripts/demo.sh ARGUMENTS...    the sensor with other arguments, e.g. "global UNDO"
#
# VAULTGAUGE_DEMO_LIBRARY=netweaver puts the stand-in NetWeaver RFC library
# (libsapnwrfc.so) beside the sensor in place of the classic one (classic, the
# default: librfccm.so); VAULTGAUGE_DEMO_MODE=<output mode> replaces the
# demo's output mode (Glimora).
set -euo pipefail
cd "$(dirname "$0")/.."
library=${VAULTGAUGE_DEMO_LIBRARY:-classic}
case "$library" in
  classic) target=rfc_standin library_file=librfccm.so ;;
  netweaver) target=nwrfc_standin library_file=libsapnwrfc.so ;;
  *)
    echo "VAULTGAUGE_DEMO_LIBRARY is classic or netweaver, not \"$library\"" >&2
    exit 2
    ;;
esac
scripts/install-prerequisites.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target vaultgauge vaultgauge-profile "$target" \
  >/dev/null

bin=build/native/bin
demo=build/demo
rm -rf "$demo"
mkdir -p "$demo/program" "$demo/work"

# The program folder: the sensor, the stand-in library beside it, the settings.
cp "$bin/vaultgauge" "$bin/$library_file" examples/demo/vaultgauge.ini "$demo/program/"
if [[ -n "${VAULTGAUGE_DEMO_MODE:-}" ]]; then
  sed -i "s/^OutputMode=.*/OutputMode=$VAULTGAUGE_DEMO_MODE/" "$demo/program/vaultgauge.ini"
fi

# The working folder: the landscape, the lists and the profiles.
cp examples/demo/SapLandscape.txt "examples/demo/SAP Tarnwick.Gbl" examples/demo/Tarnwick.Prf \
  "$demo/work/"
while read -r file destination client user host sysnr password; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  printf '%s\n' "$password" | "$bin/vaultgauge-profile" new "$demo/work/$file" \
    --destination "$destination" --client "$client" --user "$user" --language EN --mode R/3 \
    --host "$host" --sysnr "$sysnr" --gwhost "$host" --gwservice "sapgw$sysnr" \
    --extcompany "Tarnwick AG" >/dev/null
done <examples/demo/systems.txt

if (($# == 0)); then set -- PRD; fi
cd "$demo/work"
set +e
../program/vaultgauge "$@"
code=$?
set -e
echo "(exit code $code; the demo lies in $demo)" >&2
