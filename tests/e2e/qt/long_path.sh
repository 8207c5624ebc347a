# The updater copied into a folder whose path is long (over 260 characters) and not
# ASCII, started from another working directory, still starts and ends with exit
# code 0.
# Usage: long_path.sh EXE
source "$(dirname "$0")/e2e_lib.sh"
exe=$1

root=$(mktemp -d)
trap 'stop_updater; rm -rf "$root"' EXIT
folder="$root"
for part in "Atualização de Versão" "Configurações çãõáéíóú" "Пример обновления" "更新程序目录" \
            "Dostra – ñandú über straße" "pasta com um nome bem comprido para passar do limite" \
            "e mais uma pasta de nome longo, para que o caminho inteiro passe de 260 caracteres"; do
  folder="$folder/$part"
done
mkdir -p "$folder"
cp "$exe" "$folder/"
copy="$folder/$(basename "$exe")"
length=$(printf '%s' "$copy" | wc -m)
echo "program at $copy ($length characters)"
((length > 260)) || fail "path only $length characters long"

start_updater "$copy" /
wait_for_window
[[ "$(readlink "/proc/$updater_pid/cwd")" == / ]] || fail "working directory is not /"
focus_window "$window"
xdotool key --clearmodifiers Escape
wait_for_exit 10
expect_exit_zero "the copy in the long folder"
