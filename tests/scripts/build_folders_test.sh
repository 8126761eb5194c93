#!/usr/bin/env bash
# Every way of building that README.md shows (run.sh, test.sh, bench.sh and
# the cmake commands under "Install") configures a folder that no other
# configures differently: two sharing one with different settings would
# rebuild everything at each switch. README.md names every such folder.
# The scripts run in a copy of the tree, with stand-ins for the set-up,
# cmake and ctest; cmake notes who configured which folder, and how.
source "$(dirname "${BASH_SOURCE[0]}")/testlib.sh"

tree="$scratch/tree"
mkdir -p "$tree/scripts" "$scratch/bin"
cp -- "$source_dir"/{run,test,bench}.sh "$tree"
printf '#!/bin/sh\n' > "$tree/scripts/setup.sh"
printf '#!/bin/sh\n' > "$scratch/bin/ctest"
cat > "$scratch/bin/cmake" <<EOF
#!/usr/bin/env bash
# cmake -S SOURCE -B FOLDER OPTION...: notes "WHO FOLDER OPTION..." (options sorted).
[ "\$1" = -S ] || exit 0
folder=\$4
shift 4
printf '%s %s %s\n' "\$WHO" "\${folder#$tree/}" "\$(printf '%s\n' "\$@" | sort | xargs)" >> '$scratch/configured'
EOF
chmod 755 "$tree/scripts/setup.sh" "$scratch/bin/"{cmake,ctest}
export PATH="$scratch/bin:$PATH"

cd "$tree" || exit 1
for script in run.sh test.sh bench.sh; do
    WHO=$script "./$script" > /dev/null 2>&1
done
sed -n 's/^    \(cmake -S .*\)$/\1/p' "$source_dir/README.md" | WHO=README.md bash

same "run.sh, test.sh, bench.sh and README.md each configure a build" "README.md bench.sh run.sh test.sh" \
    "$(cut -d' ' -f1 "$scratch/configured" | sort -u | xargs)"
same "no folder is configured in two ways" "" \
    "$(cut -d' ' -f2- "$scratch/configured" | sort -u | cut -d' ' -f1 | uniq -d)"
while read -r who folder _; do
    check "README.md names $folder/ ($who)" grep -q -F -e "\`$folder/\`" "$source_dir/README.md"
done < <(sort -u -k2,2 "$scratch/configured")

finish
