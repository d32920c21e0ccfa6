#!/usr/bin/env bash
# Submits a split export to Slurm: a job array of PARTS tasks, task K exporting part K (sbatch
# --array=0-(PARTS-1), quillo export --part $SLURM_ARRAY_TASK_ID/PARTS), and a join job that
# starts once every task has succeeded (--dependency=afterok) and writes OUTPUT.
#
#   slurm-submit.sh SCENE.ma OUTPUT PARTS [SBATCH OPTION]...
#
# OUTPUT ends in .json, .rib or .obj (quillo-farm-task.sh says where the parts go). The options
# are given to both sbatch calls (--partition, --time, --output=logs/%x-%A_%a.log, ...). The
# quillo program is $QUILLO, else the one built beside this script, else quillo on the PATH;
# $QUILLO_EXPORT_ARGS is passed on to each export. Prints the two job ids:
#   export job 123
#   join job 124
set -euo pipefail

if [ $# -lt 3 ]; then
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
scene=$(realpath "$1")
output=$(realpath -m "$2")
parts=$3
shift 3
if ! [[ "$parts" =~ ^[1-9][0-9]*$ ]]; then
  echo "slurm-submit: PARTS must be a whole number from 1 up: $parts" >&2
  exit 2
fi
if [ -z "${QUILLO:-}" ] && [ -x "$here/../../build/bin/quillo" ]; then
  QUILLO=$(realpath "$here/../../build/bin/quillo")
fi
export QUILLO=${QUILLO:-quillo}
export QUILLO_EXPORT_ARGS=${QUILLO_EXPORT_ARGS:-}

# sbatch copies a job script away, so the tasks run a copy: they find everything through the
# absolute paths and the environment given here.
task="$here/quillo-farm-task.sh"
array=$(sbatch --parsable --job-name=quillo-export --array=0-$((parts - 1)) "$@" \
  "$task" export "$scene" "$output" "$parts")
array=${array%%;*}
join=$(sbatch --parsable --job-name=quillo-join --dependency=afterok:"$array" "$@" \
  "$task" join "$output" "$parts")
join=${join%%;*}
echo "export job $array"
echo "join job $join"
