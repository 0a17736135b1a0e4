# shellcheck shell=bash
# What the scripts comparing the Windows build under Wine with the Linux build share. Sourced; the
# caller sets `work` (its folder) and `tolerance` (the largest sample difference allowed) and reads
# `failures` (the count of differences found) at the end.
failures=0

# A path of this machine as the Windows program sees it (Wine maps / to drive Z:).
windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# The samples of a WAV file, one per line, from its data chunk on.
wav_samples() {
  local offset
  offset=$(grep -obUa data "$1" | head -n1 | cut -d: -f1)
  od -An -v -tf4 -j $((offset + 8)) "$1" | tr -s ' ' '\n' | sed '/^$/d'
}

# Two renders agree when they have the same number of samples and none differs by more than the
# tolerance.
same_audio() {
  local what=$1 linux_file=$2 windows_file=$3
  wav_samples "$linux_file" >"$work/$what.samples.linux"
  wav_samples "$windows_file" >"$work/$what.samples.windows"
  local result
  result=$(paste "$work/$what.samples.linux" "$work/$what.samples.windows" | awk -v limit="$tolerance" '
    NF != 2 { uneven = 1 }
    { d = $1 - $2; if (d < 0) d = -d; if (d > worst) worst = d; n++ }
    END { printf "%d samples, largest difference %.3g", n, worst; exit (uneven || n == 0 || worst > limit) }') \
    && echo "same: $what ($result)" || {
      echo "DIFFERENT: $what ($result, limit $tolerance)"
      failures=$((failures + 1))
    }
}

# Two files with the same bytes.
same_bytes() {
  local what=$1 linux_file=$2 windows_file=$3
  if [ -s "$linux_file" ] && cmp -s "$linux_file" "$windows_file"; then
    echo "same: $what ($(stat -c %s "$linux_file") bytes)"
  else
    echo "DIFFERENT: $what"
    cmp "$linux_file" "$windows_file" 2>&1 | head -n 3
    failures=$((failures + 1))
  fi
}
