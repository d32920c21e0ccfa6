#!/usr/bin/env bash
# Submits a split export to Slurm: a job array with one task per part (sbatch
# --array=0-(PARTS-1), quillo export --part $SLURM_ARRAY_TASK_ID/PARTS), and a join job that
# starts once every task has succeeded (--dependency=afterok) and writes OUTPUT. With
# --frames A:B[:STEP], one task per frame and part, and a join job array with one task per
# frame, writing each frame's file (OUTPUT's file name then holds a '#' run for the frame).
#
#   slurm-submit.sh SCENE.ma OUTPUT PARTS [--frames A:B[:STEP]] [SBATCH OPTION]...
#
# OUTPUT ends in .json, .rib or .obj (quillo-farm-task.sh says where the parts go). The options
# are given to both sbatch calls (--partition, --time, --output=logs/%x-%A_%a.log, ...). The
# quillo program is $QUILLO, else the one built beside this script, else quillo on the PATH;
# $QUILLO_EXPORT_ARGS is passed on to each export. Prints the two job ids:
#   export job 123
#   join job 124
set -euo pipefail

usage() {
  sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
[ $# -ge 3 ] || usage
here=$(cd "$(dirname "$0")" && pwd)
scene=$(realpath "$1")
output=$(realpath -m "$2")
parts=$3
shift 3
if ! [[ "$parts" =~ ^[1-9][0-9]*$ ]]; then
  echo "slurm-submit: PARTS must be a whole number from 1 up: $parts" >&2
  exit 2
fi
task="$here/quillo-farm-task.sh"
frames=()
frame_count=1
if [ "${1:-}" = "--frames" ]; then
  [ $# -ge 2 ] || usage
  frames=(--frames "$2")
  # The task script is the one reader of a range.
  frame_count=$("$task" frames "$2")
  shift 2
fi
if [ -z "${QUILLO:-}" ] && [ -x "$here/../../build/bin/quillo" ]; then
  QUILLO=$(realpath "$here/../../build/bin/quillo")
fi
export QUILLO=${QUILLO:-quillo}
export QUILLO_EXPORT_ARGS=${QUILLO_EXPORT_ARGS:-}

# sbatch copies a job script away, so the tasks run a copy: they find everything through the
# absolute paths and the environment given here.
array=$(sbatch --parsable --job-name=quillo-export --array=0-$((frame_count * parts - 1)) "$@" \
  "$task" export "$scene" "$output" "$parts" "${frames[@]+"${frames[@]}"}")
array=${array%%;*}
join_array=()
if [ ${#frames[@]} -gt 0 ]; then
  join_array=(--array=0-$((frame_count - 1)))
fi
join=$(sbatch --parsable --job-name=quillo-join "${join_array[@]+"${join_array[@]}"}" \
  --dependency=afterok:"$array" "$@" \
  "$task" join "$output" "$parts" "${frames[@]+"${frames[@]}"}")
join=${join%%;*}
echo "export job $array"
echo "join job $join"
