#!/bin/bash
# One share of an uncertainty run per task of a job array: task I of M
# computes the I-th of M equal shares of the realizations into RESULTS.parts/I.
# Arguments: RESULTS, then kavrin-batch uncertainty's options without --part
# and --to (submit-uncertainty.sh passes them).
#SBATCH --job-name=kavrin-uncertainty
#SBATCH --array=1-4
#SBATCH --output=kavrin-uncertainty-%A_%a.out
set -euo pipefail
results=$1
shift
M=$SLURM_ARRAY_TASK_COUNT
kavrin-batch uncertainty "$@" --part "$SLURM_ARRAY_TASK_ID/$M" --to "$results.parts/$SLURM_ARRAY_TASK_ID"
