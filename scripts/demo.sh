#!/usr/bin/env bash
# Usage: demo.sh <build dir>
# Converts the bundled sample application with kelconv and the real toolchain (zmc2, kelmkpu,
# vyquext), in a demo area inside the build directory so that neither the installed samples nor
# the user's own settings are touched.
set -euo pipefail
build=$(cd "${1:-build/dev}" && pwd)
demo="$build/demo"
data="$build/share/chronex"

rm -rf "$demo"
mkdir -p "$demo/home" "$demo/src" "$demo/cache"
cp -r "$data/Samples/cobol/." "$demo/src/"

export CHRONEX_HOME="$demo/home"
export XDG_CACHE_HOME="$demo/cache"
export PATH="$build/bin:$PATH"

sources=()
while IFS= read -r -d '' f; do
    sources+=("$f")
done < <(find "$demo/src" -name '*.cbl' -print0 | sort -z)

echo "Converting ${#sources[@]} sample programs into $demo/y2kready"
status=0
kelconv --seed "$data/Samples/Seedfile/sample.xsd" \
        --out "$demo/y2kready" \
        --title "Sample payroll, policy and loan application" \
        "${sources[@]}" || status=$?

echo
echo "Converted sources (.cvt) and reports (.crs): $demo/y2kready"
echo "Conversion log:                              $demo/y2kready/chxconv.log"
echo "Extended seed file (what the analysis learned): $demo/y2kready/sample.asd"
project=$(find "$demo/y2kready" -maxdepth 1 -name '*.iwp' | head -n 1)
echo "Project:                                     ${project:-(none)}"
[ -n "$project" ] && echo "Open it with:  $build/bin/ruxwwkf1 \"$project\""
database="$demo/y2kready/chxanalysis.db"
if [ -f "$database" ]; then
    echo "Analysis database (program units):           $database"
    echo
    keldb units "$database" || status=$?
    echo
    echo "Read it further with:  keldb symbols \"$database\" PAYRUN"
    echo "                       keldb map \"$database\" PAYRUN EMP-FILE-REC"
fi
exit $status
