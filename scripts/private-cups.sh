#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A throw-away CUPS for tests.
#
#   scripts/private-cups.sh start DIR    start the schedulers in DIR and add the test
#                                        queues; prints the export lines on stdout
#   scripts/private-cups.sh stop DIR     stop them and wait until they have exited
#   scripts/private-cups.sh env DIR      print the export lines again
#   scripts/private-cups.sh status DIR   exit 0 when both are running and answering
#
# Everything lives below DIR: each scheduler has its own ServerRoot, spool,
# cache, state and logs, and a Unix socket as its only listener (no TCP port,
# no browsing, no DNS-SD), so the machine's own CUPS is never touched. Clients
# reach a scheduler with CUPS_SERVER=<socket>; libcups (and so Qt), lp, lpstat,
# lpadmin and cancel all accept a socket path there. ipptool takes the socket,
# with its slashes written as %2F, as the host of the URI:
#   ipptool -tv "ipp://${CUPS_SERVER//\//%2F}/printers/pelora-pdf" get-printer-attributes.test
#
# Two schedulers, because CUPS reports the same copies-supported (1 to the
# server's MaxCopies) for every queue of a server; a PPD's cupsMaxCopies does
# not change it:
#
#   DIR/cups.sock (MaxCopies 9999, copies-supported 1-9999):
#     pelora-pdf     A4, accepting, the server's default destination
#                    (every queue made from the generic PDF PPD has 1/8-inch
#                    margins on A4 and Letter, unless said otherwise)
#     pelora-hidden  A4, enabled but rejecting jobs (cupsreject)
#     pelora-a5      default media A5, 148 x 210 mm (iso_a5_148x210mm)
#     pelora-card    default media postcard, 100 x 148 mm (jpn_hagaki_100x148mm)
#     pelora-margins A4 with half-inch (36 pt) margins on every side
#     pelora-scaled  A4, printer default scaling-default=80
#     pelora-raw     a raw queue (no driver, no media) on the pelora-keep
#                    backend: the job's PDF as sent lands in
#                    DIR/out/pelora-raw/job-ID.pdf
#     pelora-class   a class whose one member is pelora-pdf
#     pelora-pdf/letter  an lpoptions instance of pelora-pdf with its own
#                    defaults: media na_letter_8.5x11in, copies=2
#     pelora-ep801a  disc trays of two makers: the PPDs gutenprint makes for
#     pelora-ip7200  the Epson EP-801A and the Canon iP7200 (default Letter;
#                    disc pages CD5Inch 329 pt, CDCustom 340 pt and CD3Inch;
#                    input slot CD besides LowerFront/UpperFront, Cassette),
#                    with the keep filter last instead of gutenprint's: the
#                    output is the PDF as gutenprint would rasterize it
#     pelora-disc    a made-up disc tray on the generic PDF PPD: A4, a
#                    "Disc - 4.5 inch" page (324 pt, 114.3 mm), input slots
#                    Main (default) and Disc
#   DIR/max10/cups.sock (MaxCopies 10, copies-supported 1-10):
#     pelora-max10   A4, accepting, that server's default destination
#
# Instances live in lpoptions files on the client side: the script writes
# DIR/client/lpoptions and exports CUPS_SERVERROOT=DIR/client, so that the
# machine's /etc/cups/lpoptions is neither read nor touched.
#
# Every queue uses the Generic PDF Printer PPD of cups-filters, so the output is
# a PDF whose text pdftotext reads (wrapped in the PPD's PJL job header and
# trailer, which poppler skips). That PPD makes the copies in the filter: a job
# of n copies gives a PDF with n times the pages.
#
# Output: each job leaves one file DIR/out/QUEUE/job-ID.pdf (ID is the CUPS job
# id on that queue's server), and DIR/out/QUEUE/job-ID.options beside it: the
# options the driver's filters got, on one line (InputSlot=CD ... PageSize=CDCustom). It is complete once the job is listed by
# `lpstat -W completed -o QUEUE`; wait for that, not for the file. That list
# holds every job that has ended (completed, canceled or aborted); the
# job-state attribute tells which. A job whose filter fails is stopped
# ("processing-stopped") and never ends, so bound the wait and look at
# DIR/log/error_log. The queue's file: device also writes DIR/out/QUEUE.pdf,
# which holds the last finished job of the queue (mode 0600, owned by the
# scheduler's user).
#
# `start` prints
#   export CUPS_SERVER=DIR/cups.sock
#   export PELORA_CUPS_SERVER_MAX10=DIR/max10/cups.sock
#   export PELORA_PRIVATE_CUPS=1
#   export PELORA_PDF_OUT_DIR=DIR/out
#   export CUPS_SERVERROOT=DIR/client
# so `eval "$(scripts/private-cups.sh start DIR)"` sets up a shell. All other
# messages go to stderr; the schedulers' logs are in DIR/log and DIR/max10/log.
set -euo pipefail
# The scheduler, its filters and the tools whose answers this script reads
# speak English whatever the caller's locale (lpstat says "scheduler is
# running" only in English).
export LC_ALL=C.UTF-8
unset LANGUAGE

readonly GENERIC_PDF_PPD_CANDIDATES=(
    /usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
    /usr/share/cups/model/cupsfilters/Generic-PDF_Printer-PDF.ppd
)
readonly GUTENPRINT_TRAYS=(   # queue and gutenprint model
    "pelora-ep801a escp2-ep801a"
    "pelora-ip7200 bjc-iP7200-series"
)
readonly START_TIMEOUT=${PELORA_CUPS_START_TIMEOUT:-20}   # seconds
readonly STOP_TIMEOUT=${PELORA_CUPS_STOP_TIMEOUT:-15}     # seconds

die() { echo "private-cups: $*" >&2; exit 1; }
note() { echo "private-cups: $*" >&2; }

usage() {
    echo "usage: $0 start|stop|env|status DIR" >&2
    exit 2
}

find_cupsd() {
    local c
    for c in "$(command -v cupsd 2>/dev/null || true)" /usr/sbin/cupsd /usr/local/sbin/cupsd; do
        [[ -n $c && -x $c ]] && { echo "$c"; return; }
    done
    die "cupsd not found (install the cups package: scripts/install-deps.sh)"
}

find_generic_ppd() {
    local p
    for p in "${GENERIC_PDF_PPD_CANDIDATES[@]}"; do
        [[ -r $p ]] && { echo "$p"; return; }
    done
    die "Generic PDF Printer PPD not found (install cups-filters: scripts/install-deps.sh)"
}

# The gutenprint CUPS driver, which makes its PPDs on demand.
find_gutenprint() {
    local d
    for d in "$(cups-config --serverbin 2>/dev/null || echo /usr/lib/cups)"/driver/gutenprint.*; do
        [[ -x $d ]] && { echo "$d"; return; }
    done
    die "gutenprint's CUPS driver not found (install printer-driver-gutenprint: scripts/install-deps.sh)"
}

# server_pid ROOT: prints the pid when the scheduler started in ROOT is alive.
server_pid() {
    local pidfile=$1/cupsd.pid pid
    [[ -r $pidfile ]] || return 1
    pid=$(<"$pidfile")
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    kill -0 "$pid" 2>/dev/null || return 1
    # The pid may have been reused by something else since.
    [[ $(readlink "/proc/$pid/exe" 2>/dev/null || true) == *cupsd* ]] || return 1
    echo "$pid"
}

# answering ROOT
answering() {
    CUPS_SERVER=$1/cups.sock lpstat -r 2>/dev/null | grep -q '^scheduler is running'
}

print_exports() {
    printf 'export CUPS_SERVER=%q\n' "$DIR/cups.sock"
    printf 'export PELORA_CUPS_SERVER_MAX10=%q\n' "$DIR/max10/cups.sock"
    printf 'export PELORA_PRIVATE_CUPS=1\n'
    printf 'export PELORA_PDF_OUT_DIR=%q\n' "$DIR/out"
    printf 'export CUPS_SERVERROOT=%q\n' "$DIR/client"
}

# show_log ROOT
show_log() {
    local f
    for f in "$1/log/cupsd.out" "$1/log/error_log" "$1/log/lpadmin.out"; do
        if [[ -s $f ]]; then
            echo "---- $f (last lines) ----" >&2
            tail -n 25 "$f" >&2
        fi
    done
}

# write_ppd SOURCE DEST PAGESIZE: the generic PDF PPD with another default
# page size, a postcard size (100 x 148 mm) added, and a last filter that keeps
# one file per job.
write_ppd() {
    local src=$1 dest=$2 size=$3
    awk -v size="$size" -v keep="$KEEP_FILTER" '
        /^\*Default(PageSize|PageRegion|ImageableArea|PaperDimension):/ {
            sub(/:.*/, ": " size); print; next
        }
        /^\*cupsFilter:/ {
            print "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 " keep "\""
            next
        }
        /^\*PageSize A6\/A6:/ {
            print; print "*PageSize Postcard/Postcard: \"@PJL SET PAPER=POSTCARD<0A>\""; next
        }
        /^\*PageRegion A6\/A6:/ {
            print; print "*PageRegion Postcard/Postcard: \"@PJL SET PAPER=POSTCARD<0A>\""; next
        }
        # The margins of an ordinary desktop printer (1/8 inch), within which
        # a jacket at the sheet corner is wholly printable; pelora-margins
        # gets half an inch below.
        /^\*ImageableArea A4\/A4:/ { print "*ImageableArea A4/A4: \"9 9 586 833\""; next }
        /^\*ImageableArea Letter\/Letter:/ { print "*ImageableArea Letter/Letter: \"9 9 603 783\""; next }
        /^\*ImageableArea A6\/A6:/ {
            print; print "*ImageableArea Postcard/Postcard: \"18 36 265 384\""; next
        }
        /^\*PaperDimension A6\/A6:/ {
            print; print "*PaperDimension Postcard/Postcard: \"283 420\""; next
        }
        { print }
    ' "$src" >"$dest"
    if ! grep -q '^\*cupsFilter2:' "$dest" || ! grep -q '^\*PaperDimension Postcard/' "$dest" \
        || ! grep -q '^\*ImageableArea A4/A4: "9 9 586 833"' "$dest"; then
        die "unexpected layout of $src"
    fi
}

# write_tray_ppd DRIVER MODEL DEST: the PPD gutenprint's DRIVER makes for
# MODEL, with the keep filter in place of its own.
write_tray_ppd() {
    local driver=$1 model=$2 dest=$3
    "$driver" cat "${driver##*/}://$model/expert" | awk -v keep="$KEEP_FILTER" '
        /^\*cupsFilter2?:/ {
            if (!done) print "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 " keep "\""
            done = 1; next
        }
        { print }
    ' >"$dest"
    grep -q '^\*PaperDimension CDCustom/' "$dest" && grep -q '^\*InputSlot CD/' "$dest" \
        && [[ $(grep -c '^\*cupsFilter' "$dest") == 1 ]] || die "unexpected PPD from gutenprint for $model"
}

# write_disc_ppd DEST: a made-up disc tray on a generic PDF PPD written at
# DEST already: a 114.3 mm disc page and a slot for it.
write_disc_ppd() {
    local dest=$1
    awk '
        /^\*(PageSize|PageRegion) A6\/A6:/ { print; sub(/ A6\/A6:.*/, ""); print $0 " Disc/Disc - 4.5 inch: \"\""; next }
        /^\*ImageableArea A6\/A6:/ { print; print "*ImageableArea Disc/Disc - 4.5 inch: \"0 0 324 324\""; next }
        /^\*PaperDimension A6\/A6:/ {
            print; print "*PaperDimension Disc/Disc - 4.5 inch: \"324 324\""
            print "*OpenUI *InputSlot/Media Source: PickOne"
            print "*OrderDependency: 10 AnySetup *InputSlot"
            print "*DefaultInputSlot: Main"
            print "*InputSlot Main/Main tray: \"\""
            print "*InputSlot Disc/Disc tray: \"\""
            print "*CloseUI: *InputSlot"
            next
        }
        { print }
    ' "$dest" >"$dest.new" && mv "$dest.new" "$dest"
    [[ $(grep -c 'Disc/Disc - 4.5 inch' "$dest") == 4 ]] || die "unexpected layout of the made-up disc tray's PPD"
}

# The last filter of every queue: passes the job on to the file: device and
# keeps a copy as out/QUEUE/job-ID.pdf, its options in job-ID.options.
# Filters get: job-id user title copies options [file]; the scheduler sets
# PRINTER to the queue name.
write_keep_filter() {
    cat >"$KEEP_FILTER" <<EOF
#!/bin/sh
set -e
dir='$DIR/out'/"\$PRINTER"
mkdir -p "\$dir"
part="\$dir/.job-\$1.part"
printf '%s\\n' "\$5" >"\$part.options"
if [ -n "\$6" ]; then cat -- "\$6"; else cat; fi | tee "\$part"
chmod 0644 "\$part" "\$part.options"
mv -f "\$part.options" "\$dir/job-\$1.options"
mv -f "\$part" "\$dir/job-\$1.pdf"
EOF
    chmod 0755 "$KEEP_FILTER"
}

# The schedulers' ServerBin: the system's filters and helpers, and its
# backends plus pelora-keep, which writes each job as it comes to
# out/QUEUE/job-ID.pdf and out/QUEUE.pdf. The raw queue needs it: a file:
# device without any filter is never written.
write_server_bin() {
    local system entry bin=$DIR/serverbin
    system=$(cups-config --serverbin 2>/dev/null || echo /usr/lib/cups)
    [[ -d $system/backend ]] || die "no CUPS server bin folder at $system"
    mkdir -p "$bin/backend"
    for entry in "$system"/*; do
        [[ ${entry##*/} == backend ]] || ln -sfn "$entry" "$bin/"
    done
    for entry in "$system"/backend/*; do
        ln -sfn "$entry" "$bin/backend/"
    done
    cat >"$bin/backend/pelora-keep" <<EOF
#!/bin/sh
set -e
if [ \$# -eq 0 ]; then echo 'direct pelora-keep "Unknown" "Pelora test output"'; exit 0; fi
dir='$DIR/out'/"\$PRINTER"
mkdir -p "\$dir"
part="\$dir/.job-\$1.part"
if [ -n "\$6" ]; then cat -- "\$6"; else cat; fi >"\$part"
chmod 0644 "\$part"
cp -f "\$part" "$DIR/out/\$PRINTER.pdf"
mv -f "\$part" "\$dir/job-\$1.pdf"
EOF
    chmod 0755 "$bin" "$bin/backend" "$bin/backend/pelora-keep"
}

# write_server_conf ROOT MAXCOPIES
write_server_conf() {
    local root=$1 max_copies=$2 run_user="" run_group="" system_group
    if (( EUID == 0 )); then
        # cupsd will not run filters as root; it runs them as User/Group.
        run_user="lp"
        getent passwd lp >/dev/null || run_user="nobody"
        run_group=$(id -gn "$run_user")
        system_group=root
    else
        system_group=$(id -gn)
    fi
    mkdir -p "$root"/{etc/ppd,spool/tmp,cache,state,ssl,log}

    cat >"$root/cups-files.conf" <<EOF
# Throw-away scheduler for Pelora's tests; everything stays below $root.
ServerRoot $root/etc
ServerBin $DIR/serverbin
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ServerKeychain $root/ssl
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
Printcap $root/printcap
LogFilePerm 0644
FileDevice Yes
Sandboxing relaxed
SystemGroup $system_group
${run_user:+User $run_user}
${run_group:+Group $run_group}
EOF

    cat >"$root/cupsd.conf" <<EOF
# Throw-away scheduler for Pelora's tests: one local socket, nothing shared
# or browsed, no authentication.
Listen $root/cups.sock
ServerName localhost
LogLevel info
MaxLogSize 0
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
MaxCopies $max_copies
MaxJobs 0
MaxJobsPerPrinter 0
MaxJobsPerUser 0
PreserveJobHistory Yes
PreserveJobFiles No
ErrorPolicy abort-job
JobRetryLimit 0
FilterLimit 0
Timeout 60
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
DefaultPolicy default
EOF
}

# launch ROOT: starts cupsd for ROOT and waits until it answers.
launch() {
    local root=$1 pid
    rm -f "$root/cups.sock" "$root/cupsd.pid" "$root"/log/*
    if ! "$CUPSD" -t -c "$root/cupsd.conf" -s "$root/cups-files.conf" >"$root/log/cupsd.out" 2>&1; then
        cat "$root/log/cupsd.out" >&2
        die "cupsd rejected the configuration in $root"
    fi
    # -f keeps cupsd in the foreground, so the pid is the scheduler's own;
    # nothing from the caller's environment may point it elsewhere.
    env -u CUPS_SERVER -u CUPS_SERVERROOT -u CUPS_DATADIR -u CUPS_STATEDIR -u CUPS_CACHEDIR \
        "$CUPSD" -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" \
        </dev/null >>"$root/log/cupsd.out" 2>&1 &
    pid=$!
    echo "$pid" >"$root/cupsd.pid"

    local deadline=$((SECONDS + START_TIMEOUT))
    until answering "$root"; do
        if ! kill -0 "$pid" 2>/dev/null; then
            show_log "$root"
            die "cupsd for $root exited during start-up"
        fi
        if (( SECONDS >= deadline )); then
            show_log "$root"
            die "cupsd did not answer on $root/cups.sock within ${START_TIMEOUT}s"
        fi
        sleep 0.05
    done
}

# add_queue SOCKET NAME PAGESIZE [DESCRIPTION [LPADMIN OPTIONS...]]
add_queue() {
    local socket=$1 name=$2 size=$3 info=${4:-"Pelora test queue $2"}
    shift $(( $# < 4 ? $# : 4 ))
    write_ppd "$GENERIC_PPD" "$DIR/ppd/$name.ppd" "$size"
    mkdir -p "$DIR/out/$name"
    (( EUID == 0 )) && chmod 0777 "$DIR/out/$name"
    # -P (a local PPD) draws a deprecation warning from lpadmin; it still works.
    echo "+ lpadmin -p $name ($socket)"
    CUPS_SERVER=$socket lpadmin -p "$name" -E -v "file:$DIR/out/$name.pdf" \
        -P "$DIR/ppd/$name.ppd" -L "Pelora test output, $DIR/out" -D "$info" "$@"
}

setup_queues() {
    local main=$DIR/cups.sock max10=$DIR/max10/cups.sock
    add_queue "$main" pelora-pdf A4
    add_queue "$main" pelora-hidden A4 "Pelora test queue that rejects jobs"
    add_queue "$main" pelora-a5 A5
    add_queue "$main" pelora-card Postcard
    add_queue "$main" pelora-margins A4 "Pelora test queue with half-inch margins"
    sed -i 's|^\*ImageableArea A4/A4: .*|*ImageableArea A4/A4: "36 36 559 806"|' "$DIR/ppd/pelora-margins.ppd"
    CUPS_SERVER=$main lpadmin -p pelora-margins -P "$DIR/ppd/pelora-margins.ppd"
    add_queue "$main" pelora-scaled A4 "Pelora test queue scaling to 80 %" -o scaling-default=80
    local tray queue model
    for tray in "${GUTENPRINT_TRAYS[@]}"; do
        read -r queue model <<<"$tray"
        write_tray_ppd "$GUTENPRINT" "$model" "$DIR/ppd/$queue.ppd"
        mkdir -p "$DIR/out/$queue"
        (( EUID == 0 )) && chmod 0777 "$DIR/out/$queue"
        echo "+ lpadmin -p $queue ($main)"
        CUPS_SERVER=$main lpadmin -p "$queue" -E -v "file:$DIR/out/$queue.pdf" -P "$DIR/ppd/$queue.ppd" \
            -L "Pelora test output, $DIR/out" -D "Pelora test disc tray, gutenprint $model"
    done
    add_queue "$main" pelora-disc A4 "Pelora test queue with a made-up disc tray"
    write_disc_ppd "$DIR/ppd/pelora-disc.ppd"
    CUPS_SERVER=$main lpadmin -p pelora-disc -P "$DIR/ppd/pelora-disc.ppd"
    echo "+ lpadmin -p pelora-raw ($main)"
    mkdir -p "$DIR/out/pelora-raw"
    (( EUID == 0 )) && chmod 0777 "$DIR/out/pelora-raw"
    CUPS_SERVER=$main lpadmin -p pelora-raw -E -v pelora-keep:/raw -D "Pelora raw test queue"
    CUPS_SERVER=$main lpadmin -p pelora-pdf -c pelora-class
    CUPS_SERVER=$main cupsenable pelora-class
    CUPS_SERVER=$main cupsaccept pelora-class
    mkdir -p "$DIR/client"
    printf 'Dest pelora-pdf/letter copies=2 media=na_letter_8.5x11in\n' >"$DIR/client/lpoptions"
    add_queue "$max10" pelora-max10 A4 "Pelora test queue with at most 10 copies"
    CUPS_SERVER=$main cupsreject -r "rejecting jobs for tests" pelora-hidden
    CUPS_SERVER=$main lpadmin -d pelora-pdf
    CUPS_SERVER=$max10 lpadmin -d pelora-max10

    # Check the result before anyone relies on it.
    [[ $(CUPS_SERVER=$main lpstat -a pelora-pdf pelora-a5 pelora-card pelora-margins pelora-scaled pelora-raw pelora-class \
        pelora-ep801a pelora-ip7200 pelora-disc | grep -c 'accepting requests') == 10 ]]
    grep -q '"36 36 559 806"' "$DIR/ppd/pelora-margins.ppd"
    CUPS_SERVER=$main lpstat -a pelora-hidden | grep -q 'not accepting'
    CUPS_SERVER=$main lpstat -d | grep -q ': pelora-pdf$'
    CUPS_SERVER=$max10 lpstat -a pelora-max10 | grep -q 'accepting requests'
}

start() {
    CUPSD=$(find_cupsd)
    GENERIC_PPD=$(find_generic_ppd)
    GUTENPRINT=$(find_gutenprint)
    command -v lpadmin >/dev/null || die "lpadmin not found (install cups-client)"
    command -v lpstat >/dev/null || die "lpstat not found (install cups-client)"

    local root pid running=0
    for root in "$DIR" "$DIR/max10"; do
        if pid=$(server_pid "$root"); then
            answering "$root" || die "cupsd (pid $pid) in $root does not answer; run '$0 stop $DIR' first"
            running=$((running + 1))
        fi
    done
    if (( running == 2 )); then
        note "already running in $DIR"
        print_exports
        return 0
    fi
    (( running == 0 )) || die "only one of the two schedulers runs in $DIR; run '$0 stop $DIR' first"

    # A Unix socket path is limited to 107 bytes.
    (( ${#DIR} + 16 <= 107 )) || die "DIR is too long for a socket path (${#DIR} bytes): $DIR"

    mkdir -p "$DIR"/{out,bin,ppd,max10}
    if (( EUID == 0 )); then
        # Filters run as lp and must reach the spool, the filter and the
        # output, so every folder above DIR must be searchable by others.
        local up=$DIR mode
        while [[ $up != / ]]; do
            up=$(dirname "$up")
            mode=$(stat -c %A "$up")
            [[ ${mode:9:1} == [xt] ]] \
                || die "$up (mode $mode) keeps the filters (run as lp) out of $DIR; use another folder or chmod o+x $up"
        done
        chmod 0755 "$DIR" "$DIR/max10" "$DIR/bin" "$DIR/ppd"
        chmod 0777 "$DIR/out"
    fi
    KEEP_FILTER=$DIR/bin/pelora-keep-job
    write_keep_filter
    write_server_bin
    write_server_conf "$DIR" 9999
    write_server_conf "$DIR/max10" 10

    # Whatever goes wrong from here on, leave no scheduler behind.
    trap 'stop_all >/dev/null 2>&1 || true' EXIT
    launch "$DIR"
    launch "$DIR/max10"
    if ! setup_queues >"$DIR/log/lpadmin.out" 2>&1; then
        show_log "$DIR"
        show_log "$DIR/max10"
        die "could not set up the test queues"
    fi
    trap - EXIT

    note "cupsd running (pids $(<"$DIR/cupsd.pid") and $(<"$DIR/max10/cupsd.pid")); output in $DIR/out"
    print_exports
}

# stop_servers ROOT...: asks each scheduler to stop, then waits for all of
# them (cupsd takes a couple of seconds to shut down).
stop_servers() {
    local root pid pids=() roots=()
    for root in "$@"; do
        if pid=$(server_pid "$root"); then
            kill -TERM "$pid" 2>/dev/null || true
            pids+=("$pid")
            roots+=("$root")
        fi
    done
    local deadline=$((SECONDS + STOP_TIMEOUT)) killed=0 alive
    while :; do
        alive=0
        for pid in "${pids[@]}"; do
            kill -0 "$pid" 2>/dev/null && alive=1
        done
        (( alive )) || break
        if (( SECONDS >= deadline )); then
            (( killed )) && die "cupsd (pids ${pids[*]}) does not exit"
            note "cupsd did not stop within ${STOP_TIMEOUT}s; killing it"
            kill -KILL "${pids[@]}" 2>/dev/null || true
            killed=1
            deadline=$((SECONDS + 5))
        fi
        sleep 0.05
    done
    for root in "$@"; do
        rm -f "$root/cupsd.pid" "$root/cups.sock"
    done
}

stop_all() {
    stop_servers "$DIR/max10" "$DIR"
}

[[ $# -eq 2 ]] || usage
cmd=$1
case $cmd in
    start) mkdir -p "$2" ;;
    stop|env|status) [[ -d $2 ]] || { [[ $cmd == stop ]] && exit 0; die "no such folder: $2"; } ;;
    *) usage ;;
esac
DIR=$(cd "$2" && pwd -P)

case $cmd in
    start)  start ;;
    stop)   stop_all; note "stopped" ;;
    env)    print_exports ;;
    status) server_pid "$DIR" >/dev/null && answering "$DIR" &&
            server_pid "$DIR/max10" >/dev/null && answering "$DIR/max10" ;;
esac
