#!/usr/bin/env bash
# The distributed recipes in docs/recipes, run here as their schedulers would
# run them: every task's frames must equal a sequential run's, byte for byte.
set -euo pipefail
dwell=$1
recipes=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$dwell" render --size 40x30 --center -0.7436439,0.1318259 --width 0.5 --dwell 400 \
    -o start.png 2>/dev/null
"$dwell" zoom --location start.png --to 2e-6 --factor 2 -o sequential 2>/dev/null
frames=$(ls sequential/frame-*.png | wc -l)
[ "$frames" -eq 19 ] || { echo "expected frames 0 to 18, got $frames"; exit 1; }

same() {
    for frame in sequential/frame-*.png; do
        cmp "$frame" "$1/$(basename "$frame")" || { echo "$1: $(basename "$frame") differs"; exit 1; }
    done
    cmp sequential/manifest.sha256 "$1/manifest.sha256"
}

# Slurm: a job array of three tasks, eight frames each, all at once as an
# array's tasks run, so that they record their frames in one manifest together.
bash -n "$recipes/zoom-slurm.sbatch"
grep -q '^#SBATCH --array=' "$recipes/zoom-slurm.sbatch"
pids=()
for task in 0 1 2; do
    SLURM_ARRAY_TASK_ID=$task DWELL=$dwell START=start.png TO=2e-6 FACTOR=2 FRAMES_PER_TASK=8 \
        FRAMES=slurm bash "$recipes/zoom-slurm.sbatch" 2>/dev/null &
    pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
same slurm

# Kubernetes: an Indexed Job of three completions; its pod command runs
# with /zoom standing for this folder.
/usr/bin/python3 - "$recipes/zoom-indexed-job.yaml" "$work" <<'PYTHON' > pod.sh
import shlex, sys, yaml
job = yaml.safe_load(open(sys.argv[1]))
assert job["apiVersion"] == "batch/v1" and job["kind"] == "Job", "not a Job"

def holding(node, key):
    """The first mapping at or below node that has key."""
    if isinstance(node, dict):
        if key in node:
            return node
        node = list(node.values())
    for child in node if isinstance(node, list) else []:
        found = holding(child, key)
        if found is not None:
            return found
    return None

assert holding(job, "completionMode")["completionMode"] == "Indexed", "not an Indexed Job"
pod = holding(job, "containers")
assert pod["restartPolicy"] == "Never"
container = pod["containers"][0]
small = {"FACTOR": "2", "TO": "2e-6", "FRAMES_PER_TASK": "8"}
for variable in container["env"]:
    value = small.get(variable["name"], variable["value"])
    print("export %s=%s" % (variable["name"], shlex.quote(value)))
script = container["args"][0].replace("/zoom/start.toml", "/zoom/start.png")
print(shlex.join(container["command"] + [script.replace("/zoom", sys.argv[2])]))
PYTHON
for index in 0 1 2; do
    JOB_COMPLETION_INDEX=$index PATH="$(dirname "$dwell"):$PATH" bash pod.sh 2>/dev/null
done
same frames
echo "both recipes give the sequential run's frames"
