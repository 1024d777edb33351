#!/usr/bin/env bash
# Fails when a file of src/ includes a header of a layer above its own, or
# when a widget-free layer includes a Qt Widgets header.
#   tools/check-layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
# Bottom first; the same order as the README.
layers=(platform core sync gui components dialogs io tasks app)
widget_free=3 # platform, core and sync
qt_widgets=$(find /usr/include -maxdepth 4 -type d -path '*qt6/QtWidgets' 2>/dev/null | head -n 1)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for dir in "$src"/*/; do
    layer=$(basename "$dir")
    own=$(rank "$layer")
    if ((own < 0)); then
        echo "src/$layer: a folder that is no layer (add it to tools/check-layers.sh and the README)"
        status=1
        continue
    fi
    for file in "$dir"*.h "$dir"*.cpp; do
        [[ -e $file ]] || continue
        while IFS= read -r line; do
            header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
            if [[ $header == */* ]]; then
                other=$(rank "${header%%/*}")
                if ((other > own)); then
                    echo "src/$layer/$(basename "$file"): includes $header, a layer above $layer"
                    status=1
                fi
            fi
        done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
        if ((own < widget_free)) && [[ -n $qt_widgets ]]; then
            while IFS= read -r header; do
                name=${header#QtWidgets/}
                if [[ -e $qt_widgets/$name ]]; then
                    echo "src/$layer/$(basename "$file"): includes <$header>, a widget in a widget-free layer"
                    status=1
                fi
            done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<((QtWidgets\/)?Q[A-Za-z]+)>.*/\1/p' "$file")
        fi
    done
done
exit $status
