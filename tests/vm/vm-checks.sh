#!/bin/sh
# Runs inside the test virtual machine as its init's last step: every check against the real
# kernel, each reported as one "vm: PASS ..." or "vm: FAIL ..." line.
export QT_QPA_PLATFORM=offscreen HOME=/tmp XDG_RUNTIME_DIR=/tmp/run
export LD_LIBRARY_PATH=/usr/lib/x86_64-linux-gnu GCONV_PATH=/opt/gconv
mkdir -p -m 700 /tmp/run
cd /tmp || exit 1

pass() { echo "vm: PASS $*"; }
fail() { echo "vm: FAIL $*"; }
check() { if [ "$1" = 0 ]; then shift; pass "$@"; else shift; fail "$@"; return 1; fi; }

# GoogleTest's own result lines, one per case.
report_cases() {
  sed -n 's/^\[       OK \] \([^ ,]*\).*/vm: PASS \1/p; s/^\[  FAILED  \] \([^ ,]*\)[ ,].*(.*/vm: FAIL \1/p' "$1"
}

/bin/kernel_path_checks --gtest_filter='-FailSoft*' >/tmp/kernel.out 2>&1
status=$?
report_cases /tmp/kernel.out
[ $status -lt 128 ] || { fail "kernel path checks ended by signal $((status - 128))"; tail -20 /tmp/kernel.out; }
[ $status = 0 ] || grep -A8 'Failure' /tmp/kernel.out | head -80 | sed 's/^/vm:   /'

# The real program against the virtual Halvix, which is unplugged and plugged back meanwhile.
printf '3500 unplug\n4000 plug\n' >/tmp/replug.script
/bin/vantrel-virtual-halvix --version=23 --log=/tmp/tool.log --script=/tmp/replug.script &
tool=$!
sleep 1
mkdir -p /tmp/work && cd /tmp/work
VANTREL_DEBUG=1 timeout -s TERM 5 /bin/vantrel >/tmp/vantrel.out 2>&1 &
program=$!
sleep 4
wait $program
cd /tmp
kill -TERM $tool; wait $tool
first=$(grep -m1 ' OUT ' /tmp/tool.log | cut -d' ' -f3-)
[ "$first" = "00 01 0F 00 00 00 00 00 00" ]
check $? "vantrel-virtual-halvix: the program's first command arrives (got \"$first\")" ||
  sed 's/^/vm:   /' /tmp/vantrel.out | head -30
grep -q 'EVENT unplug' /tmp/tool.log && grep -q 'EVENT plug' /tmp/tool.log
check $? "vantrel-virtual-halvix: the script unplugs and plugs the device"

# Fail soft: without glibc's CP932 converter, one message box and exit code 1.
GCONV_PATH=/nowhere /bin/fail_soft_probe --simulate >/tmp/gconv.out 2>/tmp/gconv.err
status=$?
boxes=$(grep -c '^message box: ' /tmp/gconv.out)
[ $status = 1 ] && [ "$boxes" = 1 ]
check $? "FailSoft.NoCp932Converter: one message box and exit code 1" \
  "(exit $status, $boxes boxes)"
grep '^message box: ' /tmp/gconv.out | sed 's/^/vm:   /'

# Fail soft: no sound system at all (no ALSA configuration): keying goes on, one diagnostic line.
VANTREL_DEBUG=1 /bin/kernel_path_checks --gtest_filter='FailSoft*' >/tmp/sound.out 2>/tmp/sound.err
status=$?
report_cases /tmp/sound.out
[ $status -lt 128 ] || fail "FailSoftSound ended by signal $((status - 128))"
sound_lines=$(grep -ciE 'sound|tone|alsa|portaudio|pa_' /tmp/sound.err)
[ $status = 0 ] && [ "$sound_lines" = 1 ]
check $? "FailSoftSound: keys on with one diagnostic line about the sound" \
  "(exit $status, $sound_lines lines)"
grep -iE 'sound|tone|alsa|portaudio|pa_' /tmp/sound.err | head -5 | sed 's/^/vm:   /'
echo "vm: done"
