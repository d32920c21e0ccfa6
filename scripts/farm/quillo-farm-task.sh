#!/usr/bin/env bash
# One task of a split export, the same on any farm manager (Slurm, OpenCue, Deadline, Tractor):
#
#   quillo-farm-task.sh export SCENE.ma OUTPUT PARTS [--frames A:B[:STEP]] [TASK]
#       exports one part of the scene's feathers to the part file of OUTPUT. Without --frames,
#       TASK is the part (0 .. PARTS-1). With --frames there is one task per frame and part,
#       frame by frame: TASK (0 .. FRAMES*PARTS-1) is part TASK % PARTS of frame number
#       TASK / PARTS of the range. TASK defaults to $SLURM_ARRAY_TASK_ID.
#   quillo-farm-task.sh join OUTPUT PARTS [--frames A:B[:STEP]] [TASK]
#       once every part is done: joins the part files into OUTPUT; with --frames, those of
#       frame number TASK of the range (default $SLURM_ARRAY_TASK_ID) into that frame's file
#   quillo-farm-task.sh frames A:B[:STEP]
#       prints how many frames the range holds (what a submission sizes its arrays by)
#
# The format follows OUTPUT's extension (.json, .rib or .obj). Part K of N of feathers.json is
# written to feathers.partKofN.json beside it (RIB parts stay there: the joined main file reads
# them). With --frames (whole frames only), OUTPUT's file name holds a run of '#' that takes
# the frame number as quillo writes it: feathers.####.json gives feathers.0012.json, with the
# parts feathers.0012.part0of4.json and so on. The quillo program is $QUILLO, else quillo on
# the PATH; extra arguments for every quillo export (--workers 4, say) go in
# $QUILLO_EXPORT_ARGS. Exits with quillo's exit code.
set -euo pipefail

quillo=${QUILLO:-quillo}

usage() {
  sed -n '2,24p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

fail() {
  echo "quillo-farm-task: $1" >&2
  exit 2
}

# The file of part $2 of $3 of output $1.
part_file() {
  local output=$1 part=$2 parts=$3
  local folder=$(dirname "$output") name=$(basename "$output")
  local stem=${name%.*} extension=${name##*.}
  echo "$folder/$stem.part${part}of${parts}.$extension"
}

# Output $1 with its file name's last run of '#' replaced by frame $2, zero-padded to the run's
# length (a minus sign counts in the width), as quillo names frame files.
frame_file() {
  local output=$1 frame=$2
  local folder=$(dirname "$output") name=$(basename "$output")
  [[ "$name" =~ ^(.*[^#]|)(#+)([^#]*)$ ]] || fail "with --frames, OUTPUT's file name needs a '#' for the frame number: $output"
  local before=${BASH_REMATCH[1]} run=${BASH_REMATCH[2]} after=${BASH_REMATCH[3]}
  echo "$folder/$before$(printf '%0*d' "${#run}" "$frame")$after"
}

check_output() {
  case "${1##*.}" in
    json|rib|obj) ;;
    *) fail "OUTPUT must end in .json, .rib or .obj: $1" ;;
  esac
}

# The frames of a range A:B[:STEP] of whole frames, into the array `frames`.
expand_frames() {
  [[ "$1" =~ ^(-?[0-9]+):(-?[0-9]+)(:([1-9][0-9]*))?$ ]] ||
    fail "--frames takes A:B or A:B:STEP in whole frames, STEP from 1 up: $1"
  local first=${BASH_REMATCH[1]} last=${BASH_REMATCH[2]} step=${BASH_REMATCH[4]:-1}
  [ "$last" -ge "$first" ] || fail "--frames $1 ends before it starts"
  frames=()
  for ((f = first; f <= last; f += step)); do
    frames+=("$f")
  done
}

# The task number: $1 when given, else the job array's.
task_number() {
  local task=${1:-${SLURM_ARRAY_TASK_ID:-}}
  [ -n "$task" ] || fail "no TASK and no SLURM_ARRAY_TASK_ID"
  [[ "$task" =~ ^[0-9]+$ ]] || fail "TASK must be a whole number from 0 up: $task"
  echo "$task"
}

# The one place that builds an export task's command line, into the array `command`: part $4
# of $3 of scene $1 to output $2, at frame $5 when given.
build_export_command() {
  local scene=$1 output=$2 parts=$3 part=$4 frame=${5:-}
  command=("$quillo" export "$scene" --format "${output##*.}" --part "$part/$parts"
    -o "$(part_file "$output" "$part" "$parts")")
  if [ -n "$frame" ]; then
    command+=(--frame "$frame")
  fi
  if [ -n "${QUILLO_EXPORT_ARGS:-}" ]; then
    local extra
    read -r -a extra <<<"$QUILLO_EXPORT_ARGS"
    command+=("${extra[@]}")
  fi
}

[ $# -ge 1 ] || usage
action=$1
shift
# --frames may stand anywhere after the action.
range=""
positional=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--frames" ]; then
    [ $# -ge 2 ] || usage
    range=$2
    shift 2
  else
    positional+=("$1")
    shift
  fi
done
set -- "${positional[@]+"${positional[@]}"}"

case "$action" in
  frames)
    [ $# -eq 1 ] || usage
    expand_frames "$1"
    echo "${#frames[@]}"
    ;;
  export)
    [ $# -ge 3 ] && [ $# -le 4 ] || usage
    scene=$1 output=$2 parts=$3
    check_output "$output"
    [[ "$parts" =~ ^[1-9][0-9]*$ ]] || fail "PARTS must be a whole number from 1 up: $parts"
    task=$(task_number "${4:-}")
    if [ -z "$range" ]; then
      build_export_command "$scene" "$output" "$parts" "$task"
    else
      expand_frames "$range"
      [ "$task" -lt $((${#frames[@]} * parts)) ] ||
        fail "TASK $task is beyond the ${#frames[@]} frames times $parts parts"
      frame=${frames[$((task / parts))]}
      frame_output=$(frame_file "$output" "$frame")
      build_export_command "$scene" "$frame_output" "$parts" $((task % parts)) "$frame"
    fi
    exec "${command[@]}"
    ;;
  join)
    [ $# -ge 2 ] && [ $# -le 3 ] || usage
    output=$1 parts=$2
    check_output "$output"
    [[ "$parts" =~ ^[1-9][0-9]*$ ]] || fail "PARTS must be a whole number from 1 up: $parts"
    if [ -n "$range" ]; then
      expand_frames "$range"
      task=$(task_number "${3:-}")
      [ "$task" -lt "${#frames[@]}" ] || fail "TASK $task is beyond the ${#frames[@]} frames"
      output=$(frame_file "$output" "${frames[$task]}")
    fi
    files=()
    for ((k = 0; k < parts; ++k)); do
      files+=("$(part_file "$output" "$k" "$parts")")
    done
    exec "$quillo" join "${files[@]}" -o "$output"
    ;;
  *)
    usage
    ;;
esac
