# Sourced by the set-up scripts: phase headings, the number of parallel jobs, and a private
# runtime folder for Qt where the session has none.

# As many jobs as the machine has processors, for the builds and for CTest.
jobs=$(nproc)

# The phase under way, named by the last heading.
phase=""

# Minutes and seconds since the script started.
elapsed() {
  printf '%dm%02ds' $((SECONDS / 60)) $((SECONDS % 60))
}

# Prints a heading for the phase that starts now, with the time spent so far.
heading() {
  phase=$1
  printf '\n== %s  [%s]\n' "$1" "$(elapsed)"
}

# Qt wants a private runtime folder ($XDG_RUNTIME_DIR), which a desktop login provides and a
# console, a chroot or CI does not. Where there is none, makes one; remove_private_runtime_dir
# (run it on exit) takes it away again.
private_runtime_dir=""
use_private_runtime_dir() {
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    private_runtime_dir=$(mktemp -d "${TMPDIR:-/tmp}/tollwen-runtime-XXXXXX")
    export XDG_RUNTIME_DIR=$private_runtime_dir
  fi
}
remove_private_runtime_dir() {
  if [ -n "$private_runtime_dir" ]; then rm -rf "$private_runtime_dir"; fi
}
