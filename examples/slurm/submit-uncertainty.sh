#!/bin/bash
# Submits an uncertainty run to Slurm from the folder the results go to: a job
# array of M shares of the realizations, then their merge, which starts only
# once every share has ended well (afterok). Prints the two job ids.
#   submit-uncertainty.sh RESULTS --project plume.kvr --vary C0=lognormal:100,1.5 \
#       --standard 0.05 --realizations 1000 --seed 7
# M is KAVRIN_SHARES, 4 when it is not set.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
M=${KAVRIN_SHARES:-4}
results=${1:?"usage: submit-uncertainty.sh RESULTS OPTIONS..."}
shift
if [ -e "$results" ] || [ -e "$results.parts" ]; then
    echo "$results or $results.parts is there already: choose another name or move it away" >&2
    exit 1
fi
array=$(sbatch --parsable --array="1-$M" "$here/uncertainty-share.sbatch" "$results" "$@")
array=${array%%;*}
merge=$(sbatch --parsable --dependency="afterok:$array" "$here/uncertainty-merge.sbatch" "$results" "$M")
echo "$array ${merge%%;*}"
