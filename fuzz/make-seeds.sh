#!/usr/bin/env bash
# Writes the seed corpus of calc_clave_fuzz into fuzz/corpus/: one small file
# per hard case, in the target's input layout (4 bytes of date, then Ap, Am,
# Nm, CveSexo and CveEnt separated by 0xFF). Texts are printf formats, so
# "\xNN" writes any byte. Run it again after changing the list below.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
rm -f corpus/*

# seed NAME YEAR MONTH DAY AP AM NM SEXO ENT
seed() {
    local name=$1 year=$2 month=$3 day=$4
    shift 4
    local bits=$((year & 0xFFFF))
    {
        printf "\\x$(printf %02x $((bits & 0xFF)))\\x$(printf %02x $((bits >> 8)))"
        printf "\\x$(printf %02x "$month")\\x$(printf %02x "$day")"
        local i
        for ((i = 1; i <= $#; i++)); do
            ((i == 1)) || printf '\xff'
            printf -- "${!i}"
        done
    } >"corpus/$name"
}

seed typical 1975 4 23 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed particles 1980 1 1 "DE LA O'FARRILL Y MUÑOZ" 'FERNANDEZ DEL CASTILLO' 'JOSE MARIA DE LOS ANGELES' 'M' 'MC'
seed particle-inside-word 1980 1 1 'ANDRADE LOPEZ' 'MC GREGOR' 'GUY MARTIN' 'H' 'DF'
seed particle-with-trailing-space 1980 1 1 'DE LOS ' '' 'JUAN' 'H' 'DF'
seed particles-only 1980 1 1 'DE LAS DE EL VAN ' 'Y DEL ' 'DE LA ' 'H' 'DF'
seed jose-alone 1980 1 1 'PEREZ' 'LOPEZ' 'JOSE' 'H' 'JC'
seed jose-maria 1980 1 1 'PEREZ' 'LOPEZ' 'JOSE MARIA ANA' 'H' 'JC'
seed maria-jose 1980 1 1 'PEREZ' 'LOPEZ' 'MARIA JOSE ANA' 'M' 'JC'
seed maria-de-lourdes 1980 1 1 'PEREZ' 'LOPEZ' 'MARIA DE LOURDES' 'M' 'JC'
seed yen-inconvenient-word 1966 7 20 'PE¥A' 'NAVA' 'ELSA' 'M' 'MC'
seed enye 1980 1 1 'MUÑOZ' '' 'JOSE LUIS' 'H' 'DF'
seed enye-first 1980 1 1 'ÑU' 'ÑANDU' 'ÑOÑO' 'H' 'DF'
seed accents 1985 3 9 'MÉNDEZ' 'ORTIZ' 'LUIS' 'H' 'PL'
seed diaeresis 1980 1 1 'GÜEMES' 'ÁVILA' 'ÚRSULA' 'M' 'YN'
seed apostrophes 1980 1 1 "O'BRIEN" "D'ARCY" "D'ARCY" 'H' 'DF'
seed apostrophe-only 1980 1 1 "'" '' 'JUAN' 'H' 'DF'
seed registry-particles 1970 7 1 'VON BERTRAB' 'MAC GREGOR' 'MARIA DE LA LUZ DA LES' 'H' 'DF'
seed short-forms 1988 6 4 'ORTEGA' 'CASTRO' 'J. MA. DEL ROSARIO' 'M' 'OC'
seed short-form-alone 1980 1 1 'PEREZ' 'LOPEZ' 'MA.' 'M' 'DF'
seed sign-before-vowel 1985 2 10 'D/AMICO' 'O RELLING' 'FCO. JAVIER' 'H' 'DF'
seed typed-apostrophes 1980 1 1 'O\xe2\x80\x99FARRILL' 'D\xca\xbcARCY' 'O\xc2\xb4BRIEN O`NEILL' 'H' 'DF'
seed short-names 1990 6 15 'LI' 'WONG' 'A' 'M' 'NE'
seed one-letter-surname 1980 1 1 'O' '' 'AL' 'M' 'NE'
seed no-vowel 1980 1 1 'PRZ' 'X' 'NN' 'H' 'DF'
seed no-state 1980 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' ''
seed long-sex-and-state 1980 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'HM' 'DFX'
seed blank-given-name 1980 1 1 'GOMEZ' 'DIAZ' '   ' 'H' 'DF'
seed blank-surnames 1980 1 1 '  ' ' ' 'JUAN' 'H' 'DF'
seed tab-is-text 1980 1 1 '\t' '' '\t' 'H' 'DF'
seed control-characters 1980 1 1 'GO\x01MEZ' '\x00DIAZ' 'JU\x7fAN\r\n' 'H' 'DF'
seed right-to-left-marks 1980 1 1 '\xe2\x80\x8fGOMEZ' 'DIAZ\xe2\x80\xae' 'JUAN\xe2\x80\x8e' 'H' 'DF'
seed combining-marks 1980 1 1 'GO\xcc\x81MEZ' 'DI\xcc\x88AZ' 'J\xcc\xa3UAN' 'H' 'DF'
seed emoji 1980 1 1 'PEREZ' 'LOPEZ' '\xf0\x9f\x98\x80ANA' 'M' 'DF'
seed no-break-space 1980 1 1 'GOMEZ' 'DIAZ' '\xc2\xa0' 'H' 'DF'
seed leap-day 2000 2 29 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed not-a-leap-day 2023 2 29 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed month-13 1980 13 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed day-0 1980 1 0 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed april-31 1980 4 31 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed year-minus-32768 -32768 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed year-minus-1 -1 12 31 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed year-2005 2005 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF'
seed overlong 1980 1 1 'GOMEZ' 'DIAZ' 'JU\xc0\xafAN' 'H' 'DF'
seed encoded-surrogate 1980 1 1 '\xed\xa0\x80' 'DIAZ' 'JUAN' 'H' 'DF'
seed past-10ffff 1980 1 1 'GOMEZ' '\xf4\x90\x80\x80' 'JUAN' 'H' 'DF'
seed truncated 1980 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H\xe2\x82' 'DF'
seed stray-continuation 1980 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' '\x80DF'
seed extra-separator 1980 1 1 'GOMEZ' 'DIAZ' 'JUAN' 'H' 'DF\xffMORE'
printf '\xbb\x07' >corpus/header-cut-short

long=$(printf 'ÁNGEL DE LA %.0s' {1..400})
seed long-name 1975 4 23 'GOMEZ' 'DIAZ' "$long" 'H' 'DF'

# Seeds of csv_fuzz in fuzz/csv-corpus/: byte 0 chooses the encoding and the
# separator the person forces (0: neither), the rest is the file.
rm -rf csv-corpus
mkdir -p csv-corpus
# csv NAME SELECTOR FILE (FILE a printf format)
csv() {
    { printf "\\x$(printf %02x "$2")"; printf -- "$3"; } >"csv-corpus/$1"
}
header='paterno,materno,nombre,nacimiento,sexo,entidad'
csv plain 0 "$header\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF\nPEREZ,,ANA,31/04/1990,M,NE\n"
csv windows-1252 0 "$header\r\nG\xf3mez,D\xedaz,Jos\xe9,23/04/1975,Hombre,Nuevo Le\xf3n\r\n"
csv semicolons 0 "\xef\xbb\xbfApellido Paterno;Apellido Materno;Nombre(s);Fecha de Nacimiento;Sexo;Entidad Federativa\r\nGOMEZ;DIAZ;JUAN;23/04/1975;H;DF\r\n"
csv tabs 0 "primer apellido\tsegundo apellido\tnombres\tf. nacimiento\tsexo\testado\ncurp\nGOMEZ\tDIAZ\tJUAN\t1975-04-23\tM\tJC\n"
csv quotes-and-lines 0 "id,$header,curp\n1,\"DE LA\nO\",\"A,\"\"B\"\"\",JUAN,1975-04-23,H,DF,GODJ750423HDFMZN00\r\n\n2,x\rLI,,A,2000-02-29,X,NE,\n"
csv title-row 0 "Personas;;;;;\n;;;;;\npaterno;materno;nombre;nacimiento;sexo;entidad\nA;B;C;1980-01-01;H;DF\n"
csv forced-1252-tab 10 "$header\nMU\xd1OZ\t\tMA. JOSE\t1980-01-01\tM\tZS\n"
csv own-output 5 "$header,curp_calculada,error\nGOMEZ,DIAZ,JUAN,1975-04-23,H,DF,old,old\n"
