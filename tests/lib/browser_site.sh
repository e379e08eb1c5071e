# The pages of the browser tests of both ports and of the browser benchmark.

# browser_site DIR: writes the test site into DIR: index.html (a scrolling page with a frame, a
# target=_blank link and the functions the tests call), frame.html, frame2.html, blocked.html
# and popup.html.
browser_site() {
  local site=$1
  mkdir -p "$site"
  cat > "$site/index.html" <<'HTML'
<!doctype html>
<html><head><meta charset="utf-8"><title>index</title>
<style>
html, body { margin: 0; background: rgb(20, 120, 200); }
#big { width: 3000px; height: 5000px; }
#newwin { position: absolute; left: 10px; top: 10px; width: 120px; height: 30px; background: #fff; }
iframe { position: absolute; left: 10px; top: 60px; width: 200px; height: 100px; border: 0; }
</style>
<script>
var contextMenus = 0;
document.addEventListener('contextmenu', function () { contextMenus++; });
function report() { return typeof window.external + ',' + typeof window.external.JsCallClient; }
function frameReport() { return document.querySelector('iframe').contentWindow.report(); }
function callExternal() { window.external.JsCallClient('6', 7, '标题', null, true, {}); return 'called'; }
function go(path) { location.href = path; return 'going'; }
function frameGo(path) { document.querySelector('iframe').contentWindow.location.href = path; return 'going'; }
function scrollDown() { window.scrollTo(0, 2000); return window.scrollY; }
function alertThen() { alert('hello'); return confirm('sure?') ? 'confirmed' : 'after'; }
function ClientCallJs(a, b, c) { return [a, b, c].join('|'); }
function menus() { return contextMenus; }
</script></head>
<body><a id="newwin" href="/popup.html" target="_blank">new window</a>
<iframe src="frame.html"></iframe><div id="big"></div></body></html>
HTML
  cat > "$site/frame.html" <<'HTML'
<!doctype html><html><head><script>
function report() { return typeof window.external + ',' + typeof window.external.JsCallClient; }
if (window.external.JsCallClient) window.external.JsCallClient('from frame');
</script></head><body style="background: rgb(200, 40, 40)">frame</body></html>
HTML
  local page
  for page in frame2 blocked popup; do
    echo "<!doctype html><html><body>$page</body></html>" > "$site/$page.html"
  done
}
