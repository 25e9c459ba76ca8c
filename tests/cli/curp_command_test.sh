#!/usr/bin/env bash
# The program curp run as a person runs it: arguments, exit statuses, what
# goes to standard output (rows and keys only) and to standard error, and the
# manual page against --help.
#
#   curp_command_test.sh path/to/curp path/to/curp.1 [windows]
#
# With "windows", curp is curp.exe (run by a script that starts it under wine),
# and the cases that cannot be posed on Windows are left out.
set -u
curp=$1
man_page=$2
platform=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Where curp keeps piped input for its second reading: empty again at the end.
export TMPDIR=$work/spool
mkdir "$TMPDIR"
failures=0
passed=0

# check NAME STATUS INPUT OUT ERR ARGS...
# Runs curp ARGS with INPUT on standard input. Expects exit STATUS, standard
# output OUT (exactly, or containing what follows a leading "~"), and ERR
# within standard error ("" for an empty standard error).
check() {
    local name=$1 status=$2 input=$3 out=$4 err=$5
    shift 5
    printf '%s' "$input" | "$curp" "$@" >"$work/out" 2>"$work/err"
    local got=$? problem=""
    local stdout stderr
    stdout=$(cat "$work/out"; echo .)
    stdout=${stdout%.}
    stderr=$(cat "$work/err")
    if [ "$got" != "$status" ]; then
        problem="exit status $got, expected $status"
    elif [[ $out == "~"* ]] && [[ $stdout != *"${out#"~"}"* ]]; then
        problem="standard output lacks: ${out#"~"}"
    elif [[ $out != "~"* ]] && [ "$stdout" != "$out" ]; then
        problem="standard output differs"
    elif [ -z "$err" ] && [ -n "$stderr" ]; then
        problem="standard error not empty"
    elif [[ $stderr != *"$err"* ]]; then
        problem="standard error lacks: $err"
    fi
    if [ -n "$problem" ]; then
        failures=$((failures + 1))
        printf 'FAIL %s: %s\n  curp %s\n--- standard output:\n%s--- standard error:\n%s\n' \
            "$name" "$problem" "$*" "$stdout" "$stderr"
    else
        passed=$((passed + 1))
    fi
}

person=(--paterno Gómez --materno Díaz --nombre Juan --nacimiento 23/04/1975)
header="paterno,materno,nombre,nacimiento,sexo,entidad"
good_row="GOMEZ,DIAZ,JUAN,1975-04-23,H,DF"
bad_row="GOMEZ,DIAZ,JUAN,1975-02-30,H,DF"
nl=$'\n'
cr=$'\r'

# Arguments and help.
check "help" 0 "" "~Uso: curp ORDEN" "" --help
check "help of a command" 0 "" "~--nacimiento FECHA" "" calcula --help
check "version" 0 "" "~curp (Llave) 0." "" --version
check "no command" 2 "" "" "curp: falta la orden" 
check "unknown command" 2 "" "" "argumento de más: suma" suma
check "unknown option" 2 "" "" "opción desconocida: --apellido" calcula --apellido X
check "option without its value" 2 "" "" "a --nacimiento le falta su valor" calcula --paterno A --nombre B --nacimiento
check "option twice" 2 "" "" "--paterno se dio más de una vez" calcula --paterno A --paterno B
check "required option missing" 2 "" "" "falta --nacimiento" calcula --paterno A --nombre B
check "person and file at once" 2 "" "" "--nombre no va con --csv" calcula --csv --nombre X
check "dashes and json at once" 2 "" "" "no van juntas" calcula "${person[@]}" --guiones --json

# One person.
# These two held Ó and Í: the library reads names without accents, as the registry does.
check "key" 0 "" "GODJ750423HDFMZN00$nl" "" calcula "${person[@]}" --entidad df
check "state by name" 0 "" "GODJ750423MNLMZN04$nl" "" calcula "${person[@]}" --entidad "nuevo león" --sexo mujer
check "accents, invisible characters" 0 "" "MEOL850309HPLNRS02$nl" "" calcula --paterno méndez --materno ortiz --nombre $'lu\u200bis' --nacimiento 1985-03-09 --entidad PL
# Was OISJ050615HNEXMHA9: a sign before the first inner vowel gives X.
check "born 2005, hyphen" 0 "" "OXSJ050615HNEXMHA7$nl" "curp: aviso: X en lugar de lo que no es una letra en «O-BRIEN»" calcula --paterno O-BRIEN --materno SMITH --nombre JOHN --nacimiento 2005-06-15 --entidad NE
check "particle only as a word" 0 "" "PELI970122HVZRPV06$nl" "" calcula --paterno Pérez --materno López --nombre "Iván Alberto" --nacimiento 22/01/1997 --entidad VZ
check "VON omitted" 0 "" "BELJ700701HDFRPN09$nl" "" calcula --paterno "VON BERTRAB" --materno LÓPEZ --nombre JUAN --nacimiento 01/07/1970 --entidad DF
check "MA. counts as MARIA, no aviso" 0 "" "OECR880604MOCRSS06$nl" "" calcula --paterno ORTEGA --materno CASTRO --nombre "Ma. del Rosario" --nacimiento 04/06/1988 --sexo M --entidad OC
check "space before the vowel, no aviso" 0 "" "OXAR970122MVZXLS09$nl" "" calcula --paterno "O RELLING" --materno ALVARADO --nombre "ROSA GUADALUPE" --nacimiento 22/01/1997 --sexo M --entidad VZ
check "dashes" 0 "" "GODJ-750423-H-DF-MZN-0-0$nl" "" calcula --paterno GOMEZ --materno DIAZ --nombre JUAN --nacimiento 1975-04-23 --entidad DF --guiones
check "no state, no key" 1 "" "" "sin clave: falta la entidad (--entidad)" calcula --paterno GOMEZ --materno DIAZ --nombre JUAN --nacimiento 1975-04-23
check "names too short for a whole key" 1 "" "" "sin clave: los nombres no dan las cuatro letras" calcula --paterno A --nombre B --nacimiento 1975-04-23 --entidad DF
check "json" 0 "" '{"clave":"GODJ750423HDFMZN00","valida":true,"problemas":[],"nacimiento":"1975-04-23","sexo":"H","entidad":"DF","entidad_nombre":"DISTRITO FEDERAL"}'"$nl" "" calcula --paterno GOMEZ --materno DIAZ --nombre JUAN --nacimiento 1975-04-23 --entidad DF --json
check "impossible date" 2 "" "" "la fecha «31/04/1990» no existe" calcula --paterno A --nombre B --nacimiento 31/04/1990
check "two-digit year, month first" 0 "" "GODJ750423HDFMZN00$nl" "" calcula --paterno Gómez --materno Díaz --nombre Juan --entidad DF --nacimiento 04/23/75 --fechas mda
check "unknown sex" 2 "" "" "--sexo: sexo «Z» no reconocido" calcula "${person[@]}" --sexo Z
check "unknown state" 2 "" "" "--entidad: entidad «Texas» desconocida" calcula "${person[@]}" --entidad Texas
# A Windows command line is UTF-16: no argument holds bytes that are not UTF-8.
if [ "$platform" != windows ]; then
    check "not UTF-8" 2 "" "" "--paterno: texto que no es UTF-8 válido" calcula --paterno $'\xff' --nombre B --nacimiento 1975-04-23
fi
check "no given name gives no key" 1 "" "" "sin clave: falta el nombre" calcula --paterno GOMEZ --nombre "" --nacimiento 1975-04-23

# A CSV file.
printf '%s\n%s\n' "$header" "$good_row" >"$work/good.csv"
summary="resumen: 1 fila leída, 1 clave escrita, 0 filas sin clave"
check "file" 0 "" "$header,curp_calculada,error,aviso$nl$good_row,GODJ750423HDFMZN00,,$nl" "good.csv: $summary" calcula --csv "$work/good.csv"
check "standard input" 0 "$header$nl$good_row$nl" "~$good_row,GODJ750423HDFMZN00," "entrada estándar: $summary" calcula --csv
check "standard input as -" 0 "$header$nl$good_row$nl" "~$good_row,GODJ750423HDFMZN00," "$summary" calcula --csv -
# From a pipe the file is kept aside for its second reading; Windows-1252 stays so.
check "Windows-1252 through a pipe, semicolons" 1 "${header//,/;};x$nl${good_row//,/;};Jos"$'\xe9'"${nl}PEREZ;;ANA;1990-04-31;M;NE;$nl" \
    "~;;la fecha "$'\xab'"1990-04-31"$'\xbb'" no existe" "se lee como Windows-1252" calcula --csv
check "encoding chosen" 2 "" "" "--codificacion: «latin9» no es utf-8 ni windows-1252" calcula --csv --codificacion latin9
check "separator without a file" 2 "" "" "--separador va solo con --csv" valida --separador tab GODJ750423HDFMZN00
check "row without key" 1 "$header$nl$good_row$nl$bad_row$nl" "~$bad_row,,la fecha «1975-02-30» no existe" "curp: entrada estándar:3: la fecha" calcula --csv
check "missing file" 2 "" "" "no-such.csv: no se puede abrir" calcula --csv "$work/no-such.csv"
check "not CSV" 2 "$header$nl\"a\"b$nl" "~$header" "entrada estándar:2: comillas mal puestas" calcula --csv
check "validate a file" 1 "curp$nl""GODJ750423HDFMZN00$nl""X$nl" "~X,no,la clave tiene 1 carácter y debe tener 18" "entrada estándar:3: clave no válida" valida --csv
# Every command says when its output could not be written.
if [ -w /dev/full ]; then
    while read -r -a args; do
        printf '%s\n%s\n' "$header" "$good_row" | "$curp" "${args[@]}" >/dev/full 2>"$work/err"
        if [ $? != 2 ] || ! grep -q "no se pudo escribir la salida" "$work/err"; then
            failures=$((failures + 1))
            echo "FAIL a full disk is reported by curp ${args[*]}: $(cat "$work/err")"
        else
            passed=$((passed + 1))
        fi
    done <<'EOF'
calcula --csv
calcula --paterno GOMEZ --nombre JUAN --nacimiento 1975-04-23 --entidad DF
valida GODJ750423HDFMZN00
lee GODJ750423HDFMZN00
--help
--version
EOF
fi

# A file's output complete or said to be incomplete; sex letters forced.
fm_row="HERRERA,MARTINEZ,EDUARDO,07/02/2014,M,QT"
check "sex letters forced" 0 "$header$nl$fm_row$nl" "~$fm_row,HEME140207MQTRRDA7," "resumen" calcula --csv --sexo-hm
check "sex letters without a file" 2 "" "" "--sexo-mf va solo con --csv" calcula "${person[@]}" --sexo-mf
check "output into a file" 0 "" "" "resumen: 1 fila leída" calcula --csv "$work/good.csv" -o "$work/keys.csv"
check "a column of keys chosen" 0 "clave$nl""GODJ750423HDFMZN00$nl" "~GODJ750423HDFMZN00,si," "resumen" valida --csv --columna clave
check "the keys it wrote validated" 0 "" "$header,curp_calculada,error,aviso,valida,problemas$nl$good_row,GODJ750423HDFMZN00,,,si,$nl" "resumen" valida --csv "$work/keys.csv"
long="$work/carpeta-de-nombre-largo/carpeta-de-nombre-largo/carpeta-de-nombre-largo"
mkdir -p "$long" && printf '%s\n%s\n' "$header" "$bad_row" >"$long/f.csv"
check "long path keeps its line" 1 "" "~$bad_row" "nombre-largo/f.csv:2: la fecha" calcula --csv "$long/f.csv"
# Windows has no /dev/full, and wine passes no Ctrl+C through a pipe.
if [ "$platform" != windows ] && [ -w /dev/full ]; then
    check "full disk says what was written" 2 "" "" "salida incompleta: 0 filas escritas de 1; no se pudo escribir la salida" calcula --csv "$work/good.csv" -o /dev/full
fi
# Ctrl+C while the input is still coming: nothing is taken for a whole file.
if [ "$platform" != windows ]; then
    cp "$work/good.csv" "$work/kept.csv"
    mkfifo "$work/fifo"
    "$curp" calcula --csv "$work/fifo" -o "$work/kept.csv" 2>"$work/err" &
    pid=$!
    exec 3>"$work/fifo"
    printf '%s\n' "$header" >&3
    sleep 0.2
    kill -INT "$pid"
    wait "$pid"
    got=$?
    exec 3>&-
    if [ "$got" != 130 ] || ! grep -q "salida incompleta: 0 filas escritas" "$work/err" ||
        ! cmp -s "$work/good.csv" "$work/kept.csv" || [ -n "$(find "$work" -name '.curp-salida-*')" ]; then
        failures=$((failures + 1))
        echo "FAIL Ctrl+C leaves the output file as it was: status $got, $(cat "$work/err")"
    else
        passed=$((passed + 1))
    fi
fi

# Keys given.
check "valid keys" 0 "" "GODJ750423HDFMZN00 válida${nl}GODJ750423HDFMZN00 válida$nl" "" valida GODJ750423HDFMZN00 godj-750423-h-df-mzn-0-0
check "invalid key" 1 "" "~GODJ750423HDFMZN01 no válida: el dígito verificador (posición 18) debería ser 0" "" valida GODJ750423HDFMZN00 GODJ750423HDFMZN01
empty="(vacía) no válida: la clave está vacía; debe tener 18 caracteres$nl"
check "keys from standard input, one result per line" 1 "GODJ750423HDFMZN00$cr$nl$nl  ${nl}abc" "GODJ750423HDFMZN00 válida$nl$empty${empty}ABC no válida: la clave tiene 3 caracteres y debe tener 18$nl" "" valida
check "lines ended by CR alone" 1 "GODJ750423HDFMZN00${cr}${cr}GODJ750423HDFMZN00$cr" "GODJ750423HDFMZN00 válida$nl${empty}GODJ750423HDFMZN00 válida$nl" "" valida -
check "- among keys" 1 "x$nl" "GODJ750423HDFMZN00 válida${nl}X no válida: la clave tiene 1 carácter y debe tener 18${nl}GODJ750423HDFMZN00 válida$nl" "" valida GODJ750423HDFMZN00 - GODJ750423HDFMZN00
check "-- ends the options" 1 "" "X no válida: la clave tiene 1 carácter y debe tener 18$nl" "" valida -- -x
check "a slash starts no option" 1 "" "/X no válida: la clave tiene 2 caracteres y debe tener 18$nl" "" valida /x
check "-h anywhere" 0 "" "~Uso: curp calcula" "" calcula --paterno -h --nombre
check "a birth after today, a vowel among the consonants" 1 "" "~GODJ300101HDFMZNA2 no válida: las posiciones 5 a 10 dan una fecha de nacimiento posterior a hoy${nl}GODJ750423HDFAZN09 no válida: la posición 14 debe ser una consonante" "" valida GODJ300101HDFMZNA2 GODJ750423HDFAZN09
check "a line longer than 8 MiB" 1 "$(head -c 9000000 /dev/zero | tr '\0' A)${nl}GODJ750423HDFMZN00" "(línea de más de 8 MiB) no válida: la línea es demasiado larga para ser una clave${nl}GODJ750423HDFMZN00 válida$nl" "" valida
"$curp" valida <"$work" >"$work/out" 2>"$work/err"
if [ $? != 2 ] || ! grep -q "entrada estándar: no se pudo leer" "$work/err"; then
    failures=$((failures + 1))
    echo "FAIL a folder as standard input is reported: $(cat "$work/err")"
else
    passed=$((passed + 1))
fi
check "keys as json" 0 "" '{"clave":"GODJ750423HDFMZN00","valida":true,"problemas":[],"nacimiento":"1975-04-23","sexo":"H","entidad":"DF","entidad_nombre":"DISTRITO FEDERAL"}'"$nl" "" valida --json GODJ750423HDFMZN00
check "read a key" 0 "" "GODJ750423HDFMZN00$nl  nacimiento: 1975-04-23$nl  sexo: H (hombre)$nl  entidad: DF (DISTRITO FEDERAL)$nl  válida$nl" "" lee GODJ750423HDFMZN00
check "read a key from 2000 on" 1 "" "~nacimiento: 2005-01-01" "" lee PEXA050101MNEXXXA0 GODJ750423HDFMZN01
check "read as json" 0 "" "~\"entidad\":\"NE\",\"entidad_nombre\":\"EXTRANJERO\"}" "" lee --json PEXA050101MNEXXXA6

# Every long option that --help shows is in the manual page.
options=$( { "$curp" --help; for c in calcula valida lee; do "$curp" "$c" --help; done; } |
    grep -o -- '--[a-z]*' | sort -u)
man_text=$(sed 's/\\-/-/g' "$man_page")
for option in $options; do
    if [[ $man_text != *"$option"* ]]; then
        failures=$((failures + 1))
        echo "FAIL the manual page does not mention $option"
    fi
done

# (curp.exe keeps it in %TEMP%, and wine keeps files of its own in TMPDIR.)
if [ "$platform" != windows ] && [ -n "$(ls -A "$TMPDIR")" ]; then
    failures=$((failures + 1))
    echo "FAIL piped input left behind: $(ls -A "$TMPDIR")"
fi

echo "curp_command_test: $passed passed, $failures failed"
((failures == 0))
