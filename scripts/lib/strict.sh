# Sourced first by the scripts: a command that fails unexpectedly stops the script, which says
# where and what failed. A failure that a script expects is handled where it happens (`|| …`, `if`).
set -Eeuo pipefail
trap 'echo "${0##*/}: stopped at line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR
