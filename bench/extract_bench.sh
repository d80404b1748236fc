#!/usr/bin/env bash
# Extraction benchmark: one package of a large mixed corpus (text, binaries and
# already-compressed files, at least 150 MB), extracted by the Tovo stub, by unzip
# and by 7-Zip from the same zip, side by side. Prints the best of three rounds for
# each tool, its peak memory, and the ratios.
#
#   bench/extract_bench.sh [BUILD_DIR]      (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
stub=$build/selfextract/tovo
pack=$build/tools/tovo-pack
for tool in "$stub" "$pack"; do
  [ -x "$tool" ] || { echo "missing $tool: build the default preset first" >&2; exit 2; }
done
for tool in zip unzip 7zz /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup-debian.sh)" >&2; exit 2; }
done

work=$(mktemp -d "${BENCH_DIR:-/dev/shm}/tovo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The corpus: C headers (text), shared libraries (binaries), gzip files (already
# compressed), taken from this machine so nothing has to be downloaded.
list=$work/files
find /usr/include -type f > "$list"
find /usr/lib/x86_64-linux-gnu -maxdepth 1 -name '*.so*' -type f -size +200k | sort | sed -n '1,80p' >> "$list"
find /usr/share/doc /usr/share/man -name '*.gz' -type f | sort | sed -n '1,4000p' >> "$list"
corpus_bytes=$(tr '\n' '\0' < "$list" | du -cb --files0-from=- | tail -n 1 | cut -f1)
(cd / && sed 's|^/||' "$list" | zip -q -@ "$work/corpus.zip")
"$pack" --stub "$stub" -o "$work/package.run" --zip "$work/corpus.zip" \
  --overwrite always --no-finished >/dev/null
printf 'corpus: %d files, %.0f MB; zip %.0f MB\n' "$(wc -l < "$list")" \
  "$(echo "$corpus_bytes / 1000000" | bc -l)" \
  "$(echo "$(stat -c %s "$work/corpus.zip") / 1000000" | bc -l)"

# Runs one extraction into an empty folder; prints "seconds peak_kb".
run() {
  local out=$work/out
  rm -rf "$out" && mkdir "$out"
  (cd "$out" && /usr/bin/time -f '%e %M' -o "$work/t" "$@" </dev/null >/dev/null 2>&1) || {
    echo "failed: $*" >&2
    exit 1
  }
  cat "$work/t"
}

declare -A best_s best_kb
for round in 1 2 3; do
  for tool in stub unzip 7z; do
    case $tool in
      stub) result=$(run "$work/package.run") ;;
      unzip) result=$(run unzip -q -o "$work/corpus.zip") ;;
      7z) result=$(run 7zz x -y -bd "$work/corpus.zip") ;;
    esac
    read -r s kb <<< "$result"
    if [ -z "${best_s[$tool]:-}" ] || (( $(echo "$s < ${best_s[$tool]}" | bc) )); then best_s[$tool]=$s; fi
    if [ -z "${best_kb[$tool]:-}" ] || (( kb > best_kb[$tool] )); then best_kb[$tool]=$kb; fi
  done
done

# The stub's output must match unzip's.
rm -rf "$work/a" "$work/b" && mkdir "$work/a" "$work/b"
(cd "$work/a" && "$work/package.run" </dev/null >/dev/null 2>&1)
(cd "$work/b" && unzip -q "$work/corpus.zip")
diff -r "$work/a" "$work/b" >/dev/null && same=identical || same=DIFFERENT

printf 'stub %.2f s %d KB | unzip %.2f s %d KB | 7z %.2f s %d KB | stub/7z %.2f stub/unzip %.2f | trees %s\n' \
  "${best_s[stub]}" "${best_kb[stub]}" "${best_s[unzip]}" "${best_kb[unzip]}" \
  "${best_s[7z]}" "${best_kb[7z]}" \
  "$(echo "${best_s[stub]} / ${best_s[7z]}" | bc -l)" \
  "$(echo "${best_s[stub]} / ${best_s[unzip]}" | bc -l)" "$same"
