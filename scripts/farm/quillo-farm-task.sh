#!/usr/bin/env bash
# One task of a split export, the same on any farm manager (Slurm, OpenCue, Deadline, Tractor):
#
#   quillo-farm-task.sh export SCENE.ma OUTPUT PARTS [PART]
#       exports part PART (0 .. PARTS-1) of the scene's feathers to the part file of OUTPUT;
#       PART defaults to $SLURM_ARRAY_TASK_ID, so a Slurm job array needs no more
#   quillo-farm-task.sh join OUTPUT PARTS
#       once every part is done: joins the part files into OUTPUT
#
# The format follows OUTPUT's extension (.json, .rib or .obj). Part K of N of feathers.json is
# written to feathers.partKofN.json beside it (RIB parts stay there: the joined main file reads
# them). The quillo program is $QUILLO, else quillo on the PATH; extra arguments for every
# quillo export (--workers 4, say) go in $QUILLO_EXPORT_ARGS. Exits with quillo's exit code.
set -euo pipefail

quillo=${QUILLO:-quillo}

usage() {
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

# The file of part $2 of $3 of output $1.
part_file() {
  local output=$1 part=$2 parts=$3
  local folder=$(dirname "$output") name=$(basename "$output")
  local stem=${name%.*} extension=${name##*.}
  echo "$folder/$stem.part${part}of${parts}.$extension"
}

check_output() {
  case "${1##*.}" in
    json|rib|obj) ;;
    *) echo "quillo-farm-task: OUTPUT must end in .json, .rib or .obj: $1" >&2; exit 2 ;;
  esac
}

# The one place that builds a task's command line, into the array `command`.
build_export_command() {
  local scene=$1 output=$2 parts=$3 part=$4
  command=("$quillo" export "$scene" --format "${output##*.}" --part "$part/$parts"
    -o "$(part_file "$output" "$part" "$parts")")
  if [ -n "${QUILLO_EXPORT_ARGS:-}" ]; then
    local extra
    read -r -a extra <<<"$QUILLO_EXPORT_ARGS"
    command+=("${extra[@]}")
  fi
}

[ $# -ge 1 ] || usage
case "$1" in
  export)
    [ $# -ge 4 ] && [ $# -le 5 ] || usage
    part=${5:-${SLURM_ARRAY_TASK_ID:-}}
    [ -n "$part" ] || { echo "quillo-farm-task: no PART and no SLURM_ARRAY_TASK_ID" >&2; exit 2; }
    check_output "$3"
    build_export_command "$2" "$3" "$4" "$part"
    exec "${command[@]}"
    ;;
  join)
    [ $# -eq 3 ] || usage
    check_output "$2"
    parts=()
    for ((k = 0; k < $3; ++k)); do
      parts+=("$(part_file "$2" "$k" "$3")")
    done
    exec "$quillo" join "${parts[@]}" -o "$2"
    ;;
  *)
    usage
    ;;
esac
