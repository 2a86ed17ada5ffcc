#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the throw-away CUPS behaves as the printing tests expect: the
# queues and their defaults, the copies limits, a real job's attributes and
# its PDF output. Uses the running one when PELORA_PRIVATE_CUPS=1 (as under
# test.sh), otherwise starts its own for the duration of the check.
set -euo pipefail
# Tools whose answers are read here speak English whatever the caller's locale.
export LC_ALL=C.UTF-8
unset LANGUAGE
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelora-cupscheck.XXXXXX")
chmod 0755 "$scratch"   # the scheduler's filters run as another user under root
own_server=0
# shellcheck disable=SC2317  # called by the trap
cleanup() {
    if (( own_server )); then
        "$root/scripts/private-cups.sh" stop "$scratch/cups" >/dev/null 2>&1 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

if [[ ${PELORA_PRIVATE_CUPS:-} != 1 ]]; then
    own_server=1
    eval "$("$root/scripts/private-cups.sh" start "$scratch/cups")"
fi
main=$CUPS_SERVER
max10=$PELORA_CUPS_SERVER_MAX10

uri() { echo "ipp://${1//\//%2F}/printers/$2"; }   # uri SOCKET QUEUE
printer_attr() {                                    # printer_attr SOCKET QUEUE NAME
    ipptool -tv "$(uri "$1" "$2")" get-printer-attributes.test 2>/dev/null \
        | sed -n "s/^ *$3 ([^)]*) = //p" | head -n 1
}
expect() {                                          # expect WHAT GOT WANTED
    [[ $2 == "$3" ]] || fail "$1: got '$2', expected '$3'"
}

expect "pelora-pdf copies-supported" "$(printer_attr "$main" pelora-pdf copies-supported)" 1-9999
expect "pelora-max10 copies-supported" "$(printer_attr "$max10" pelora-max10 copies-supported)" 1-10
expect "pelora-pdf media-default" "$(printer_attr "$main" pelora-pdf media-default)" iso_a4_210x297mm
expect "pelora-a5 media-default" "$(printer_attr "$main" pelora-a5 media-default)" iso_a5_148x210mm
expect "pelora-card media-default" "$(printer_attr "$main" pelora-card media-default)" jpn_hagaki_100x148mm
expect "pelora-hidden accepting" "$(printer_attr "$main" pelora-hidden printer-is-accepting-jobs)" false
[[ $(CUPS_SERVER=$main lpoptions -p pelora-scaled 2>/dev/null) == *" scaling=80"* ]] || fail "pelora-scaled has no scaling-default=80"
expect "pelora-raw media-supported" "$(printer_attr "$main" pelora-raw media-supported)" ""
expect "pelora-class members" "$(printer_attr "$main" pelora-class member-names)" pelora-pdf
[[ $(CUPS_SERVER=$main lpoptions -p pelora-pdf/letter 2>/dev/null) == *"copies=2"*"media=na_letter_8.5x11in"* ]] \
    || fail "the instance pelora-pdf/letter is not in $CUPS_SERVERROOT/lpoptions"
grep -q '"36 36 559 806"' "$(dirname "$main")/ppd/pelora-margins.ppd" || fail "pelora-margins has no half-inch margins"
# The disc trays: their slots, and gutenprint's custom disc page (119.94 mm).
expect "pelora-ep801a media-source-supported" "$(printer_attr "$main" pelora-ep801a media-source-supported)" bottom,top,cd
expect "pelora-ip7200 media-source-supported" "$(printer_attr "$main" pelora-ip7200 media-source-supported)" main,cd
expect "pelora-disc media-source-supported" "$(printer_attr "$main" pelora-disc media-source-supported)" main,disc
for queue in pelora-ep801a pelora-ip7200; do
    [[ $(printer_attr "$main" $queue media-supported) == *custom_119.94x119.94mm* ]] || fail "$queue has no CDCustom page"
done
expect "default destination" "$(CUPS_SERVER=$main lpstat -d)" "system default destination: pelora-pdf"
expect "max10 default destination" "$(CUPS_SERVER=$max10 lpstat -d)" "system default destination: pelora-max10"

# A one-page PDF with a line of text in a standard font.
pdf=$scratch/page.pdf
{
    content='BT /F1 24 Tf 72 720 Td (Pelora check page) Tj ET'
    objects=(
        '<< /Type /Catalog /Pages 2 0 R >>'
        '<< /Type /Pages /Kids [3 0 R] /Count 1 >>'
        '<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>'
        "<< /Length ${#content} >>
stream
$content
endstream"
        '<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>'
    )
    body="%PDF-1.4"$'\n'
    offsets=()
    for i in "${!objects[@]}"; do
        offsets+=("${#body}")
        body+="$((i + 1)) 0 obj"$'\n'"${objects[i]}"$'\n'"endobj"$'\n'
    done
    printf '%s' "$body"
    printf 'xref\n0 %d\n0000000000 65535 f \n' $((${#objects[@]} + 1))
    for o in "${offsets[@]}"; do printf '%010d 00000 n \n' "$o"; done
    printf 'trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n' $((${#objects[@]} + 1)) "${#body}"
} >"$pdf"
[[ $(pdftotext "$pdf" - 2>/dev/null) == *"Pelora check page"* ]] || fail "the test PDF itself is unreadable"

# job_attrs SOCKET QUEUE ID: a few attributes of a job, as ipptool shows them.
cat >"$scratch/job.test" <<'EOF'
{
  NAME "Get-Job-Attributes"
  OPERATION Get-Job-Attributes
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR integer job-id $job_id
  ATTR keyword requested-attributes copies,job-name,job-state,job-printer-state-message
  STATUS successful-ok
  DISPLAY copies
  DISPLAY job-name
  DISPLAY job-state
  DISPLAY job-printer-state-message
}
EOF
job_attrs() {
    ipptool -t -d "job_id=$3" "$(uri "$1" "$2")" "$scratch/job.test" 2>&1 || true
}

# wait_job SOCKET QUEUE ID: until the job has ended, well or badly (bounded).
# A failing filter leaves a job "processing-stopped", never "completed".
wait_job() {
    local deadline=$((SECONDS + 60)) attrs
    while :; do
        attrs=$(job_attrs "$@")
        case $attrs in
            *"job-state (enum) = completed"*) return 0 ;;
            *"job-state (enum) = processing-stopped"* | *"job-state (enum) = aborted"* | \
            *"job-state (enum) = canceled"*)
                fail "job $2-$3 ended badly: $attrs (see the scheduler's error_log)"
                return 1 ;;
        esac
        (( SECONDS < deadline )) || { fail "job $2-$3 did not end: $attrs"; return 1; }
        sleep 0.1
    done
}

# A job of two copies with a Japanese title.
request=$(CUPS_SERVER=$main lp -d pelora-pdf -t 印刷中 -n 2 "$pdf" 2>&1 || true)
id=${request#request id is pelora-pdf-}
id=${id%% *}
if [[ $id =~ ^[0-9]+$ ]] && wait_job "$main" pelora-pdf "$id"; then
    attrs=$(job_attrs "$main" pelora-pdf "$id")
    [[ $attrs == *"copies (integer) = 2"* ]] || fail "job copies: $attrs"
    [[ $attrs == *"job-name (nameWithoutLanguage) = 印刷中"* ]] || fail "job name: $attrs"
    # lpstat, as the tests use it, lists the job as completed too.
    CUPS_SERVER=$main lpstat -W completed -o pelora-pdf | grep -q "^pelora-pdf-$id " \
        || fail "lpstat -W completed does not list pelora-pdf-$id"

    out=$PELORA_PDF_OUT_DIR/pelora-pdf/job-$id.pdf
    if [[ -f $out ]]; then
        text=$(pdftotext "$out" - 2>/dev/null || true)
        [[ $(grep -c "Pelora check page" <<<"$text") == 2 ]] || fail "text of $out: '$text'"
        pages=$(pdfinfo "$out" 2>/dev/null | sed -n 's/^Pages: *//p')
        expect "pages of a 2-copy job" "$pages" 2
        cmp -s "$out" "$PELORA_PDF_OUT_DIR/pelora-pdf.pdf" || fail "pelora-pdf.pdf is not the last job"
        [[ $(<"${out%.pdf}.options") == *"job-uuid="* ]] || fail "no options of the job beside $out"
    else
        fail "no output file $out"
    fi
elif ! [[ $id =~ ^[0-9]+$ ]]; then
    fail "lp to pelora-pdf: $request"
fi

# Copies limits and the rejecting queue are enforced by the schedulers.
CUPS_SERVER=$max10 lp -d pelora-max10 -n 11 "$pdf" >/dev/null 2>&1 && fail "pelora-max10 took 11 copies"
CUPS_SERVER=$max10 lp -d pelora-max10 -n 10 "$pdf" >/dev/null 2>&1 || fail "pelora-max10 refused 10 copies"
CUPS_SERVER=$main lp -d pelora-pdf -n 11 "$pdf" >/dev/null 2>&1 || fail "pelora-pdf refused 11 copies"
CUPS_SERVER=$main lp -d pelora-hidden "$pdf" >/dev/null 2>&1 && fail "pelora-hidden took a job"

# The raw queue's backend keeps the job as it was sent.
request=$(CUPS_SERVER=$main lp -d pelora-raw "$pdf" 2>&1 || true)
id=${request#request id is pelora-raw-}
id=${id%% *}
if [[ $id =~ ^[0-9]+$ ]] && wait_job "$main" pelora-raw "$id"; then
    cmp -s "$pdf" "$PELORA_PDF_OUT_DIR/pelora-raw/job-$id.pdf" || fail "pelora-raw did not keep job $id as sent"
else
    fail "lp to pelora-raw: $request"
fi

if (( failures )); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "private CUPS OK"
