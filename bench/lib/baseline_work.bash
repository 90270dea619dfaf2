# A scratch folder for a comparison with a baseline built in a git worktree,
# and its clean-up on exit: the servers started (their pids in PIDS), Wine's
# server, the worktree, and the folder itself unless KEEP is set.
#
# baseline_work <name>: sets WORK and PIDS and arms the clean-up; ROOT must
# name the checkout.
baseline_work() {
  WORK=$(mktemp -d "/tmp/kestrafon-$1.XXXXXX")
  PIDS=()
  trap baseline_cleanup EXIT
}

baseline_cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  local tree
  for tree in baseline win-baseline; do git -C "$ROOT" worktree remove --force "$WORK/$tree" 2>/dev/null || true; done
  [ -n "${KEEP:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
