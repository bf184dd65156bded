# A CUPS scheduler of a test's own, for Wine's printers: one queue whose jobs
# each land as PostScript in a file of their own. Sourced by the scripts
# that run Windows programs under Wine; they call
#
#   start_private_cups QUEUE   start it, with the queue (needs fail() and $cups,
#                              a fresh short folder: a socket path must stay short)
#   stop_private_cups          end it (from the script's clean-up)
#
# and find the jobs as $cups/jobs/job-ID.ps. CUPS_SERVER points Wine to it.
cupsd_pid=

start_private_cups() {
  local queue=$1
  export CUPS_SERVER=$cups/cups.sock
  mkdir -p "$cups"/{spool,cache,state,tmp,log,ppd,jobs,bin/filter}
  chmod 755 "$cups"
  chmod 1777 "$cups/jobs" # the filter runs as the scheduler's user lp
  ln -s /usr/lib/cups/daemon "$cups/bin/daemon"
  cat >"$cups/bin/filter/capture" <<EOF
#!/bin/sh
# The job's PostScript, unchanged, into jobs/job-<id>.ps; nothing to the device.
cat "\${6:--}" > "$cups/jobs/.job-\$1" && mv "$cups/jobs/.job-\$1" "$cups/jobs/job-\$1.ps"
EOF
  chmod 755 "$cups/bin/filter/capture"
  cat >"$cups/cupsd.conf" <<EOF
Listen $cups/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
LogLevel info
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$cups/cups-files.conf" <<EOF
ServerRoot $cups
ServerBin $cups/bin
RequestRoot $cups/spool
CacheDir $cups/cache
StateDir $cups/state
TempDir $cups/tmp
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
Printcap $cups/printcap
FileDevice Yes
EOF
  cat >"$cups/printers.conf" <<EOF
<Printer $queue>
DeviceURI file:///dev/null
State Idle
Accepting Yes
Shared No
</Printer>
EOF
  # A PostScript printer of one A4 sheet: Wine's PostScript driver reads the
  # paper and the printable area from this description.
  cat >"$cups/ppd/$queue.ppd" <<'EOF'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KORVALPS.PPD"
*Manufacturer: "KORVAL"
*Product: "(Label file)"
*ModelName: "KORVAL PostScript label file"
*ShortNickName: "KORVAL PostScript label file"
*NickName: "KORVAL PostScript label file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter: "application/postscript 0 capture"
*cupsFilter: "application/vnd.cups-postscript 0 capture"
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
EOF
  chmod 644 "$cups"/*.conf "$cups/ppd/$queue.ppd"
  # Bounded in time, should this script be killed before it can stop it.
  timeout -k 5 900 /usr/sbin/cupsd -f -c "$cups/cupsd.conf" -s "$cups/cups-files.conf" \
    >"$cups/log/cupsd.out" 2>&1 &
  cupsd_pid=$!
  for _ in $(seq 150); do
    lpstat -p "$queue" >/dev/null 2>&1 && break
    kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd ended at start: $(tail -5 "$cups/log/cupsd.out" "$cups/log/error_log" 2>/dev/null)"
    sleep 0.1
  done
  lpstat -p "$queue" >/dev/null 2>&1 || fail "cupsd did not answer in 15 s"
}

stop_private_cups() {
  [ -n "$cupsd_pid" ] || return 0
  kill "$cupsd_pid" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$cupsd_pid" 2>/dev/null; then
    pkill -9 -P "$cupsd_pid" # cupsd itself, the child of timeout
    kill -9 "$cupsd_pid"
  fi
  wait "$cupsd_pid" 2>/dev/null
  cupsd_pid=
}
