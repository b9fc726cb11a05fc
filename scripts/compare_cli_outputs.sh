#!/usr/bin/env bash
# Runs the same kestra-cli commands with two builds on every form of the
# three models of tests/data (MODFLOW-2005 name file, model file sets in the
# Lahey and PowerStation layouts, the pre-processor's name file) and says
# whether every output byte is the same: the check before and after a change
# that must not change behaviour.
#
# Usage: compare_cli_outputs.sh OLD_KESTRA_CLI NEW_KESTRA_CLI
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 OLD_KESTRA_CLI NEW_KESTRA_CLI" >&2
  exit 2
fi
old_cli=$(realpath "$1")
new_cli=$(realpath "$2")
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A particle file with one particle in the middle of every other cell of
# layer 1, row `row`, in columns 2, 4, ... up to `last`.
write_particles() {
  local file=$1 row=$2 last=$3
  {
    echo "KESTRA_V100_PARTICLES"
    echo " $(( (last - 2) / 2 + 1 )) "
    for (( column = 2; column <= last; column += 2 )); do
      echo "0.5 0.5 0.5 $column $row 1 0 255 1"
    done
  } > "$file"
}

# Every command of one model form, its outputs into `out`; each command's
# standard output and error and exit status are kept as well.
run_commands() {
  local cli=$1 model=$2 particles=$3 out=$4
  mkdir -p "$out"
  local n=0
  run() {
    n=$((n + 1))
    local status=0
    (cd "$out" && "$cli" "$@" > "$out/$n.stdout" 2> "$out/$n.stderr") || status=$?
    echo "$status" > "$out/$n.status"
    # Paths of the temporary folders differ between the two runs.
    sed -i "s#$work/[a-z]*/#WORK/#g" "$out/$n.stdout" "$out/$n.stderr"
  }
  run info "$model"
  run export heads "$model" --layer 1 --out heads.txt
  run export drawdowns "$model" --layer 1 --out drawdowns.txt
  run export velocity "$model" --layer 1 --out velocity.txt
  run plot "$model" --out plan.dxf --particles "$particles" --forward --backward
  for threads in 1 2 3 4; do
    run track "$model" --particles "$particles" --forward --backward --threads "$threads" \
      --out "pathlines-$threads.txt" --endpoints "endpoints-$threads.csv"
  done
  run track "$model" --particles "$particles" --forward --backward --format mp7 \
    --out pathlines-mp7.txt --endpoints endpoints-mp7.csv
  run track "$model" --particles "$particles" --forward --replay --out replay.txt
}

forms() {
  local name=$1
  echo "modflow/$name.nam lahey/$name.mdl powerstation/$name.mdl namefile/$name.nam"
}

declare -A rows=([uniform1]=5 [mixed3d]=12 [transient2]=8)
declare -A lastColumns=([uniform1]=19 [mixed3d]=28 [transient2]=14)
differences=0
compared=0
for name in uniform1 mixed3d transient2; do
  for form in $(forms "$name"); do
    for side in old new; do
      # Each run gets a copy of its own: an open writes settings files.
      rm -rf "$work/$side"
      mkdir -p "$work/$side"
      cp -r "$repo/tests/data/$name" "$work/$side/model"
      write_particles "$work/$side/particles.par" "${rows[$name]}" "${lastColumns[$name]}"
      cli=$old_cli
      [ "$side" = new ] && cli=$new_cli
      run_commands "$cli" "$work/$side/model/$form" "$work/$side/particles.par" "$work/$side/out"
    done
    compared=$((compared + $(find "$work/old/out" -type f | wc -l)))
    if ! diff -r "$work/old/out" "$work/new/out" > "$work/diff.txt"; then
      differences=$((differences + 1))
      echo "$name $form: outputs differ"
      head -20 "$work/diff.txt"
    else
      echo "$name $form: same"
    fi
  done
done
echo "$compared files compared, $differences model forms differ"
[ "$differences" -eq 0 ]
