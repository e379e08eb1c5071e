#!/usr/bin/env bash
# The Windows client under Wine from start to its first window: a real stripped PE32 with a
# package appended, every start-up message with its title, the window choice, leftovers and
# the desktop shortcut.
source "$(dirname "$0")/wine_lib.sh"
wine_start

config='[global]\ntitle=测试客户端\nlinkCount=1\n[link1]\nurl=http://127.0.0.1/\n'
png="$MC_SOURCE/sample/package/config/main1.png"
dir="$WORK/game dir"
mkdir -p "$dir"

# ends: "yes" once the started program has ended (within 10 s); one still running is stopped.
ends() { ended 10; kill_client; }
expect_message() {  # expect_message DESCRIPTION TEXT
  check "$1: message" "启动失败|$2" "$(wine "$MC_BUILD/dialog_probe.exe" ok 20000 | tr -d '\r')"
  check "$1: ends after OK" yes "$(ends)"
}

start_exe "$dir" "$CLIENT"
expect_message "bare client" "没有附加配置文件,请打包配置文件"

{ cat "$CLIENT"; head -c 3000 /dev/urandom; } > "$dir/client.exe"
start_exe "$dir" "$dir/client.exe"
expect_message "tail is no ZIP" "OpenZip失败"

brand "$dir/client.exe" "config/main1.png=$png" "config\\cg.txt:=$config"
start_exe "$dir" "$dir/client.exe"
expect_message "no config/cg.txt" "读取ini文件失败"

brand "$dir/client.exe" "config/cg.txt:=[global]\nlinkCount=1\nfirstUrl=http://127.0.0.1/g\n"
start_exe "$dir" "$dir/client.exe"
expect_message "no background, firstUrl set" "读取图片失败"

brand "$dir/client.exe" "config/main1.png=$png" "config/cg.txt:=[global]\nlinkCount=0\nfirstUrl=x://y\n"
start_exe "$dir" "$dir/client.exe"
check "no links: ends silently" yes "$(ends)"

touch "$dir/Launcher_back_up.exe" "$dir/Launcher_update.bat"
brand "$dir/client.exe" "config/main1.png=$png" "config/cg.txt:=$config"
# Links planted where the shortcut and its temporary are written: writing follows neither.
printf 'keep' > "$WORK/victim"
printf 'keep too' > "$WORK/victim2"
ln -s "$WORK/victim" "$WINE_DESKTOP/client.lnk"
ln -s "$WORK/victim2" "$WINE_DESKTOP/client.lnk.part"
start_exe "$dir" "$dir/client.exe"
check "launcher shown with GBK title" "测试客户端" \
  "$(wine "$MC_BUILD/window_probe.exe" MicroClientLauncher close | tr -d '\r')"
check "closing the launcher ends the program" yes "$(ends)"
check "leftovers removed" "" "$(ls "$dir" | grep Launcher_ || true)"
check "planted links: their targets untouched, the shortcut a file of its own" \
  "keep|keep too|file|client.lnk client.lnk.part" \
  "$(cat "$WORK/victim")|$(cat "$WORK/victim2")|$([ -f "$WINE_DESKTOP/client.lnk" ] && [ ! -L "$WINE_DESKTOP/client.lnk" ] && echo file || echo link)|$(ls "$WINE_DESKTOP" | paste -sd' ')"
rm "$WINE_DESKTOP/client.lnk.part"
# Read the shortcut back through the shell link object.
check "shortcut target" "$(winpath "$dir/client.exe")" \
  "$(wine "$MC_BUILD/shortcut_probe.exe" "$(winpath "$WINE_DESKTOP/client.lnk")" | tr -d '\r')"

# firstUrl opens the game window directly, also with a background that does not decode.
mv "$WINE_DESKTOP/client.lnk" "$WINE_DESKTOP/renamed.lnk"
brand "$dir/client.exe" "config/main1.png:=not a picture" "config/cg.txt:=$config[global]\nfirstUrl=http://127.0.0.1/g\n"
start_exe "$dir" "$dir/client.exe"
check "game window shown directly" "测试客户端" \
  "$(wine "$MC_BUILD/window_probe.exe" MicroClientGame close | tr -d '\r')"
ends >/dev/null
check "existing shortcut found" "renamed.lnk" "$(ls "$WINE_DESKTOP")"

finish
