# The desktop's default browser replaced by a recorder, so that links a client hands to the
# desktop are seen by the test and no real browser starts.

# link_recorder FILE: from now on every http(s) address the desktop is asked to open is
# appended to FILE (made empty), one line each. On Linux the recorder is the default handler
# of the test's own XDG folders; under Wine (WINEPREFIX set) it is the prefix's http open
# command, skin_link_recorder.exe of the Windows build.
link_recorder() {
  local file=$1
  : > "$file"
  if [ -n "${WINEPREFIX:-}" ]; then
    wine reg add 'HKCR\http\shell\open\command' /ve /f \
      /d "\"$(winpath "$MC_BUILD/skin_link_recorder.exe")\" \"$(winpath "$file")\" \"%1\"" >/dev/null 2>&1
    return
  fi
  mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$file" > "$WORK/record-link"
  chmod +x "$WORK/record-link"
  printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\nNoDisplay=true\n' \
    "$WORK/record-link" > "$XDG_DATA_HOME/applications/mc-link-recorder.desktop"
  printf '[Default Applications]\nx-scheme-handler/http=mc-link-recorder.desktop\nx-scheme-handler/https=mc-link-recorder.desktop\n' \
    > "$XDG_CONFIG_HOME/mimeapps.list"
}
