# One table row from a validator's JSON report (one check per line). Exit status 3 when the module
# crashed or hung, 4 when a DPF-built effect (dpf=1) is not alive. The warnings column lists every
# WARN check with its reason.
function field(line, key,   start) {
  if (!match(line, "\"" key "\": \"([^\"\\\\]|\\\\.)*\""))
    return ""
  return substr(line, RSTART + length(key) + 5, RLENGTH - length(key) - 6)
}
# A reason as the table shows it: a "|" would end the cell.
function escaped(text) {
  gsub(/\|/, "\\|", text)
  return text
}
function cell(name) {
  if (!(name in status)) return "-"
  if (status[name] == "PASS") return "yes"
  if (status[name] == "SKIP") return "skipped"
  if (status[name] == "WARN") return "yes, warned (" escaped(reason[name]) ")"
  return "no (" escaped(reason[name]) ")"
}
/"group": / {
  group = field($0, "group"); name = field($0, "name"); s = field($0, "status")
  status[name] = s; reason[name] = field($0, "reason"); figures[name] = field($0, "figures")
  if (s == "FAIL") {
    failed[group] = 1
    failures = failures (failures == "" ? "" : "; ") name ": " reason[name]
    if (reason[name] ~ /^(crash|hang): /) broken = 1
  }
  if (s == "WARN")
    warnings = warnings (warnings == "" ? "" : "; ") name ": " reason[name]
}
END {
  published = figures["published parameters"]; sub(/ besides the bypass/, "", published)
  alive = ("alive" in status) ? cell("alive") : "- (no parameters)"
  editor = ("editor opened, idled, resized and closed" in status) ? cell("editor opened, idled, resized and closed") : cell("editor")
  allocations = figures["the effect's allocations per block (stereo)"]; sub(/ with the module/, "", allocations)
  if (broken) failures = "MODULE CRASHED OR HUNG: " failures
  if (dpf && alive != "yes" && alive != "- (no parameters)") failures = "DPF-BUILT EFFECT NOT ALIVE: " failures
  failures = escaped(failures)
  warnings = escaped(warnings)
  printf "| %s | %s | %s, readings %s | %s | %s | %s | %s | cpu %s, latency %s, %s | %s | %s |\n", effect,
    failed["instantiation"] ? "no" : "yes", published == "" ? "0" : published,
    cell("readings equal the values written"), alive, failed["processing"] ? "no" : "yes",
    cell("state stable"), editor, figures["cpu time (stereo)"], figures["latency (stereo)"], allocations,
    warnings == "" ? "none" : warnings, failures == "" ? "none" : failures
  if (broken) exit 3
  if (dpf && alive != "yes" && alive != "- (no parameters)") exit 4
}
