# Sourced by scripts/stress and scripts/soak: starts Xvfb with openbox and trayer, exports DISPLAY
# and adds their process ids to the array `pids` (the caller kills them). $1 names a display
# number to use; empty lets Xvfb pick a free one. $2 is the folder for their logs.
start_display() {
  local wanted="$1" logs="$2" display fd
  if [ -n "$wanted" ]; then
    Xvfb ":$wanted" -screen 0 1280x1024x24 -nolisten tcp >"$logs/xvfb.log" 2>&1 &
    pids+=($!)
    display="$wanted"
  else
    # Xvfb picks a free display number itself and writes it to the pipe.
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp >"$logs/xvfb.log" 2>&1 &
    pids+=($!)
    read -r -t 20 display <&"$fd"
    exec {fd}>&-
  fi
  export DISPLAY=":$display"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >"$logs/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
  trayer --edge bottom --align right --widthtype pixel --width 160 --height 28 \
    --SetDockType true --transparent false >"$logs/trayer.log" 2>&1 &
  pids+=($!)
  sleep 1
}
