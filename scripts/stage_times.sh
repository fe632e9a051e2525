# Times the stages of a script run: `stage NAME command...` runs the command,
# keeps how long it took and answers its status; print_stage_times lists them.
# Sourced by scripts/test.
stage_names=()
stage_seconds=()
stage_results=()

stage() {
  local name=$1 start status=0
  shift
  start=$(date +%s)
  echo "== stage $name" >&2
  "$@" || status=$?
  stage_names+=("$name")
  stage_seconds+=($(($(date +%s) - start)))
  stage_results+=("$( ((status == 0)) && echo ok || echo "failed ($status)")")
  return "$status"
}

print_stage_times() {
  local i total=0
  echo "Stage times:"
  for i in "${!stage_names[@]}"; do
    printf '  %-8s %5d s  %s\n' "${stage_names[$i]}" "${stage_seconds[$i]}" "${stage_results[$i]}"
    total=$((total + stage_seconds[i]))
  done
  printf '  %-8s %5d s\n' total "$total"
}
