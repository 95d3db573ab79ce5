#!/bin/bash
# Merges the shares RESULTS.parts/1 ... RESULTS.parts/M into RESULTS: the same
# files, byte for byte, as one run of all the realizations.
# Arguments: RESULTS M.
#SBATCH --job-name=kavrin-merge
#SBATCH --output=kavrin-merge-%j.out
set -euo pipefail
results=$1
M=$2
parts=()
for ((i = 1; i <= M; i++)); do
    parts+=("$results.parts/$i")
done
kavrin-batch merge "${parts[@]}" --to "$results"
