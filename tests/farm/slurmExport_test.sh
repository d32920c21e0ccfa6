#!/usr/bin/env bash
# The farm scripts on a real Slurm cluster: a one-node cluster started here (munge with its own
# key and socket, slurmctld and slurmd on loopback ports, everything in a scratch folder, all
# stopped at the end), scripts/farm/slurm-submit.sh submitting a 4-part export of the example
# as a job array with a dependent join job, and a 2-part export of three frames of the animated
# example (a task per frame and part, a join task per frame); each joined file is compared
# byte for byte with the whole export made here.
#
#   slurmExport_test.sh QUILLO SOURCE_DIR
#
# Installs nothing. Skipped (exit 77) where Slurm or munge is not installed or the test does
# not run as root (munged runs as the munge user), unless QUILLO_REQUIRE_SLURM is set, which
# makes those a failure.
set -euo pipefail
quillo=$1
source_dir=$2

skip() {
  if [ -n "${QUILLO_REQUIRE_SLURM:-}" ]; then
    echo "FAILED: $1 (QUILLO_REQUIRE_SLURM is set)"
    exit 1
  fi
  echo "SKIPPED: $1"
  exit 77
}
for program in slurmctld slurmd munged sbatch squeue sinfo runuser; do
  command -v "$program" >/dev/null 2>&1 || skip "$program is not installed (Debian: slurm-wlm, munge)"
done
[ "$(id -u)" -eq 0 ] || skip "starting munged as the munge user needs root"
id munge >/dev/null 2>&1 || skip "there is no munge user"

work=$(mktemp -d /tmp/quillo-slurm-XXXXXX)
chmod 755 "$work"
stop() {
  for pid_file in "$work/slurmd.pid" "$work/slurmctld.pid" "$work/munge/munged.pid"; do
    if [ -s "$pid_file" ]; then
      kill "$(cat "$pid_file")" 2>/dev/null || true
    fi
  done
  sleep 1
  rm -rf "$work"
}
trap stop EXIT

fail() {
  echo "FAILED: $1"
  for log in "$work"/*.log "$work"/munge/munged.log "$work"/out/*.log; do
    [ -f "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }
  done
  exit 1
}

# munge: its own key and socket, run as the munge user.
mkdir -p "$work/munge"
head -c 1024 /dev/urandom >"$work/munge/munge.key"
chown -R munge: "$work/munge"
chmod 700 "$work/munge"
chmod 600 "$work/munge/munge.key"
runuser -u munge -- munged --key-file="$work/munge/munge.key" \
  --socket="$work/munge/munge.socket" --pid-file="$work/munge/munged.pid" \
  --log-file="$work/munge/munged.log" --seed-file="$work/munge/seed" --force ||
  fail "munged did not start"

# Two free loopback ports, for clusters of parallel runs not to meet.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 20000))
    ss -ltnH "sport = :$port" 2>/dev/null | grep -q . || { echo "$port"; return; }
  done
}
controller_port=$(free_port)
node_port=$(free_port)
while [ "$node_port" = "$controller_port" ]; do node_port=$(free_port); done

host=$(hostname -s)
mkdir -p "$work/state" "$work/spool" "$work/out"
cat >"$work/slurm.conf" <<CONF
ClusterName=quillotest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$controller_port
SlurmdPort=$node_port
AuthType=auth/munge
AuthInfo=socket=$work/munge/munge.socket
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
JobAcctGatherType=jobacct_gather/none
MpiDefault=none
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=debug Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$work/slurm.conf"
slurmctld -f "$SLURM_CONF" || fail "slurmctld did not start"
slurmd -f "$SLURM_CONF" || fail "slurmd did not start"
for _ in $(seq 60); do
  sinfo -h -o %t 2>/dev/null | grep -q idle && break
  sleep 1
done
sinfo -h -o %t | grep -q idle || fail "the node never became idle: $(sinfo 2>&1)"

# Waits for a job (array) to leave the queue.
wait_for() {
  for _ in $(seq 240); do
    [ -z "$(squeue -h -j "$1" 2>/dev/null)" ] && return
    sleep 0.5
  done
  fail "job $1 is still queued or running"
}

# The whole exports here, the split ones on the cluster, both submitted before either is waited
# for.
scene="$source_dir/examples/featherGuides.ma"
animated="$source_dir/examples/animatedWing.ma"
"$quillo" export "$scene" -o "$work/whole.json" >/dev/null || fail "the local export failed"
for frame in 1 12 23; do
  "$quillo" export "$animated" -o "$work/whole.$frame.obj" --format obj --frame $frame >/dev/null ||
    fail "the local export of frame $frame failed"
done
submit() {
  QUILLO="$quillo" "$source_dir/scripts/farm/slurm-submit.sh" "$@" \
    --output="$work/out/%x-%A_%a.log" || fail "submitting failed: $*"
}
submitted=$(submit "$scene" "$work/out/feathers.json" 4)
animated_submitted=$(submit "$animated" "$work/out/wing.###.obj" 2 --frames 1:23:11)
echo "$submitted"
echo "$animated_submitted"
for jobs in "$submitted" "$animated_submitted"; do
  join_job=$(echo "$jobs" | sed -n 's/^join job //p')
  [ -n "$join_job" ] || fail "no join job in: $jobs"
  wait_for "$join_job"
done

for k in 0 1 2 3; do
  [ -f "$work/out/feathers.part${k}of4.json" ] || fail "part $k of 4 was not written"
done
[ -f "$work/out/feathers.json" ] || fail "the join job wrote nothing"
cmp "$work/whole.json" "$work/out/feathers.json" || fail "the joined export differs from the whole"
for frame in 1 12 23; do
  joined="$work/out/wing.$(printf %03d $frame).obj"
  [ -f "$joined" ] || fail "frame $frame was not joined"
  cmp "$work/whole.$frame.obj" "$joined" || fail "frame $frame joined differs from its whole export"
done
echo "PASSED: 4 parts, and 2 parts of 3 frames, on Slurm joined to the whole exports byte for byte"
