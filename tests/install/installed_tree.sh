#!/usr/bin/env bash
# Checks of an installed tree, each run by CTest as its own test:
#   installed_tree.sh stage     installs the build into a staging folder (DESTDIR), with the
#                               window driver that only this test installs
#   installed_tree.sh CHECK     one check of the staged tree (layout, marqel, batch, window,
#                               settings, desktop, metainfo, manpages)
# Every check runs from a fresh folder that has nothing to do with the build or the tree.
# Environment (set by CTest): BUILD_DIR, STAGE_DIR, PREFIX, KIT_DIR, PRIVATE_DIR, LIB_DIR.
set -euo pipefail

check=$1
root="$STAGE_DIR$PREFIX"
bin="$root/bin"
private="$root/$PRIVATE_DIR"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# A fresh working folder elsewhere, with per-user folders of its own.
fresh_folder() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/relettra-installed-XXXXXX")
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/config" "$work/data" "$work/tmp" "$work/cwd"
  export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp"
  export QT_QPA_PLATFORM=offscreen
  unset LD_LIBRARY_PATH
  cd "$work/cwd"
}

case "$check" in
  stage)
    rm -rf "$STAGE_DIR"
    DESTDIR="$STAGE_DIR" cmake --install "$BUILD_DIR" >/dev/null
    # Only the plain install goes into the layout check; the driver is added after it.
    (cd "$STAGE_DIR" && find . -mindepth 1 | LC_ALL=C sort) >"$STAGE_DIR.plain-files"
    DESTDIR="$STAGE_DIR" cmake --install "$BUILD_DIR" --component installed_window_check >/dev/null
    ;;

  layout)
    for path in bin/relettra bin/relettra-batch bin/marqel \
        "$PRIVATE_DIR/Tewkrun.dll" "$PRIVATE_DIR/Hevrit.dll" "$PRIVATE_DIR/Dossaly.dll" \
        "$LIB_DIR/libmarqel_engine.so" include/marqel/marqel.h \
        share/doc/relettra/user-guide.html share/doc/relettra/picker.png \
        share/doc/relettra/copyright share/doc/relettra/changelog.gz \
        share/applications/relettra.desktop share/metainfo/org.example.relettra.metainfo.xml \
        share/icons/hicolor/scalable/apps/relettra.svg \
        share/icons/hicolor/48x48/apps/relettra.png share/icons/hicolor/128x128/apps/relettra.png \
        share/icons/hicolor/256x256/apps/relettra.png \
        share/man/man1/marqel.1.gz share/man/man1/relettra.1.gz share/man/man1/relettra-batch.1.gz; do
      grep -qx "\./${PREFIX#/}/$path" "$STAGE_DIR.plain-files" || fail "$path is not installed"
    done
    for program in Tewkrun.dll Hevrit.dll Dossaly.dll; do
      [ ! -e "$bin/$program" ] || fail "$program is on the PATH"
    done
    ! grep -q installed_window_check "$STAGE_DIR.plain-files" || fail "the test driver is installed"
    # Each tool's output is read whole before it is searched: grep -q would stop reading early and
    # end the tool with a broken pipe, which pipefail counts as a failure.
    for size in 48 128 256; do
      kind=$(file "$root/share/icons/hicolor/${size}x$size/apps/relettra.png")
      [[ $kind == *"$size x $size"* ]] || fail "the ${size}px icon has another size: $kind"
    done
    # The engine's programs hold the engine code themselves (started once per file, they are
    # linked without the engine library); no program keeps a run path.
    for program in "$bin/marqel" "$private/Tewkrun.dll"; do
      if ldd "$program" | grep -q libmarqel_engine; then
        fail "$program loads the engine library"
      fi
    done
    for program in "$bin/marqel" "$private/Tewkrun.dll" "$bin/relettra" "$bin/relettra-batch" \
                   "$private/Hevrit.dll" "$private/Dossaly.dll"; do
      dynamic=$(readelf -d "$program")
      if grep -qE 'R(UN)?PATH' <<<"$dynamic"; then fail "$program keeps a run path"; fi
    done
    ;;

  marqel)
    fresh_folder
    cp "$KIT_DIR/std14_helvetica.pdf" in.pdf
    # The rule's box is the word's box in the staged page helper's text layer, as the picker
    # would take it.
    "$private/Hevrit.dll" in.pdf -ht "$PWD/page.png" -textonly || fail "the staged page helper"
    box=$(sed -n 's/^<span class="w" style="left:\([0-9]*\);top:\([0-9]*\);width:\([0-9]*\);height:\([0-9]*\)">Invoice<\/span>$/\1-\2-\3-\4/p' page_pg_0001.htm | head -n 1)
    [ -n "$box" ] || fail "the page helper found no word Invoice"
    printf '1-%s:Invoice:Receipt\r\n' "$box" >rules.txt
    for engine in "$bin/marqel" "$private/Tewkrun.dll"; do
      rm -f out.pdf
      status=0
      "$engine" in.pdf -tesome out.pdf rules.txt >console.txt || status=$?
      [ "$status" -eq 1 ] || fail "$engine ended with $status: $(cat console.txt)"
      grep -q "Receipt number 12345" <<<"$(pdftotext out.pdf -)" || fail "$engine did not replace the word"
      qpdf --check out.pdf >/dev/null || fail "$engine wrote a damaged file"
    done
    ;;

  batch)
    fresh_folder
    cp "$KIT_DIR/multipage.pdf" a.pdf
    "$bin/relettra-batch" --quiet --find STAMPME --replace MARKED -o out a.pdf ||
      fail "relettra-batch failed"
    [ "$(pdftotext out/a.pdf - | grep -c MARKED)" -gt 0 ] || fail "relettra-batch did not replace"
    ;;

  window)
    fresh_folder
    cp "$KIT_DIR/std14_helvetica.pdf" invoice.pdf
    cp "$KIT_DIR/multipage.pdf" notes.pdf
    mkdir out
    grep -qx "relettra [0-9.]*" <<<"$("$bin/relettra" --version)" || fail "relettra --version"
    # The files of the command line, given as relative names, are listed with their page counts
    # and converted through the child programs of the private folder.
    CHECK_OUTPUT_DIR="$PWD/out" CHECK_RULES="Invoice=Receipt;STAMPME=MARKED" \
      "$bin/installed_window_check" invoice.pdf notes.pdf >check.txt 2>&1 ||
      { cat check.txt; fail "the staged window"; }
    grep -qx "ok: listed $PWD/invoice.pdf with 1 pages" check.txt || { cat check.txt; fail "invoice.pdf not listed"; }
    grep -qx "ok: listed $PWD/notes.pdf with 3 pages" check.txt || { cat check.txt; fail "notes.pdf not listed"; }
    grep -q "Receipt number" <<<"$(pdftotext out/invoice.pdf -)" || fail "invoice.pdf not converted"
    grep -q "MARKED" <<<"$(pdftotext out/notes.pdf -)" || fail "notes.pdf not converted"
    # Nothing is written into the working directory.
    [ "$(ls)" = "$(printf 'check.txt\ninvoice.pdf\nnotes.pdf\nout')" ] || fail "files left in the working directory: $(ls)"
    ;;

  settings)
    fresh_folder
    cp "$KIT_DIR/multipage.pdf" a.pdf
    mkdir out
    printf '[dir]\nimagefile=/taken/over\n' >setting.ini
    settings="$XDG_CONFIG_HOME/relettra/setting.ini"
    CHECK_OUTPUT_DIR="$PWD/out" "$bin/installed_window_check" a.pdf >check.txt 2>&1 ||
      { cat check.txt; fail "the staged window"; }
    grep -qx "settings: $settings" check.txt || fail "settings not in the configuration folder"
    grep -qx "imagefile=/taken/over" "$settings" || fail "the working directory's settings were not taken over"
    grep -qx "output=$PWD/out" "$settings" || fail "the output folder was not stored"
    # Taken over once: a later start keeps the stored settings.
    printf '[dir]\nimagefile=/changed\n' >setting.ini
    CHECK_OUTPUT_DIR="$PWD/out" "$bin/installed_window_check" a.pdf >check.txt 2>&1 ||
      { cat check.txt; fail "the staged window, second start"; }
    grep -qx "imagefile=/taken/over" "$settings" || fail "the settings were taken over twice"
    [ "$(cat setting.ini)" = "$(printf '[dir]\nimagefile=/changed')" ] || fail "the old settings file was changed"
    ;;

  desktop)
    desktop-file-validate "$root/share/applications/relettra.desktop"
    grep -qx 'Exec=relettra %F' "$root/share/applications/relettra.desktop" || fail "Exec line"
    grep -qx 'MimeType=application/pdf;' "$root/share/applications/relettra.desktop" || fail "MimeType line"
    ;;

  metainfo)
    appstreamcli validate --no-net --pedantic "$root/share/metainfo/org.example.relettra.metainfo.xml"
    ;;

  manpages)
    for page in marqel relettra relettra-batch; do
      warnings=$(MANWIDTH=80 man --warnings -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
      [ -z "$warnings" ] || fail "$page.1: $warnings"
      gzip -t "$root/share/man/man1/$page.1.gz" || fail "$page.1.gz"
    done
    ;;

  *)
    fail "unknown check $check"
    ;;
esac
