#!/bin/sh
# Pictures of the desktop program for the README: starts the real velmark under Xvfb, once in
# Polish and once in English, each time in a scratch copy of data/ as its start directory and
# with a scratch setup.ini, and plays a script of steps through the program's screenshot hook
# (VELMARK_SCREENSHOT_SCRIPT, see app/gui/screenshot_script.h). The PNGs go to
# docs/screenshots/, each cropped to its window and compressed.
#
#   tools/screenshots.sh [BUILD_DIR]      (default: build; velmark is built there when missing)
set -eu

cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD_DIR=${1:-build}
OUT_DIR=$ROOT/docs/screenshots

# What the script needs: Xvfb with xauth for xvfb-run, ImageMagick to compress the pictures,
# iconv for the code page 1250 setup.ini.
missing=""
command -v xvfb-run >/dev/null 2>&1 || missing="$missing xvfb"
command -v xauth >/dev/null 2>&1 || missing="$missing xauth"
command -v convert >/dev/null 2>&1 || missing="$missing imagemagick"
if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update
    # shellcheck disable=SC2086
    $SUDO apt-get install -y --no-install-recommends $missing
fi

if [ ! -x "$BUILD_DIR/app/gui/velmark" ]; then
    [ -f "$BUILD_DIR/CMakeCache.txt" ] || cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" --target velmark
fi

# A fixed, readable scratch path: the pictures show the directories the program wrote to.
SCRATCH=${TMPDIR:-/tmp}/velmark-screenshots
rm -rf "$SCRATCH"
mkdir -p "$SCRATCH"
trap 'rm -rf "$SCRATCH"' EXIT
mkdir -p "$OUT_DIR"

# setup.ini for a sort of the sample log by DXCC list order into a CSV mail-merge file, with the
# station's personal data (Polish letters included) for the Cabrillo header.
write_setup_ini() { # language start-directory
    iconv -f UTF-8 -t CP1250 > "$SCRATCH/bin/setup.ini" <<EOF
[MAIN]
Language=$1
Sorting=Sort_according_to_DXCC_list
[For Sort and translate]
Type input file=ADIFwe
Type output file=CSVwy
[Format QSO_Date For Sort and translate]
Type format of input date QSO=YYYYMMDD
Type format of output date QSO=YYYY-MM-DD
Character for separtor QSO_date=-
Character for separtor QSO_Time=
[PRINT QSL]
Number of QSO_s on one QSLcard=3
Divide output file=0
Maximum Number of QSL in a one sort file=100
Last used catalog for input=$2
Last used catalog for output=$2/logs
[Personal info]
Callsign=SP9XYZ
First and last name=Zdzisław Żółtowski
Adres 1=ul. Świętokrzyska 12
QTH City=Łódź
County=LD
ZIPP=90-001
Country=Poland
GridSquare - Locator=JO91RS
CQ_Zone=15
ITU_Zone=28
Licence class=A
Typ_TRX_RX=IC-7300
Power - Watt=100
Antena=Dipol
Club callsign=SP9KDA
E_mail=sp9xyz@example.org
EOF
}

# The steps: every panel of the main window, the print preview of the labels, the second
# window with each of its panels, the about window. Each picture waits for what it shows.
write_steps() { # prefix start-directory
    cat > "$SCRATCH/steps" <<EOF
grab TForm1 $SCRATCH/$1-language.png
click Button1
wait-shown TForm4
grab TForm4 $SCRATCH/$1-main-configuration.png
trigger ConfigPersonalInfo1
grab TForm4 $SCRATCH/$1-main-personal-data.png
trigger ConfigForSortingAndTtranslate
trigger SortFileCSV1
wait-shown ZatListyDXCC
click ZatListyDXCC
file $2/sample.adi
file $2/logs/sample-sorted.csv
wait-shown ZatwSortow
grab TForm4 $SCRATCH/$1-main-processing.png
click ZatwSortow
trigger PrintLabels1
wait-shown LabelPanel
grab TForm4 $SCRATCH/$1-main-labels.png
click LabelPreview
file $2/sample.adi
wait-shown LabelPrintPreview
grab LabelPrintPreview $SCRATCH/$1-label-preview.png
close LabelPrintPreview
trigger ConfigCabrilloFormat1
wait-shown Formularz_cabrillo
pick WyborContestu CQ-WW-SSB.FRM
grab TForm3 $SCRATCH/$1-template-editor.png
click Cofnij
trigger TranslationFile1
row ListBox4 3
click Zatw_transla
file $2/sample.adi
file $2/logs/sample.cbr
wait-shown ZapisCabrillo
pick WyborFormularzaContestu CQ-WW-SSB.FRM
wait-shown ZatwZapisuCabrillo
grab TForm3 $SCRATCH/$1-cabrillo-export.png
click ZatwZapisuCabrillo
trigger SzukanieKrajuDlaZnaku
wait-shown PoszukanieKraju
type ZnakSzukany sp9xyz
enter ZnakSzukany
grab TForm3 $SCRATCH/$1-country-search.png
click CofnijSzukanie
trigger About1
wait-shown TAboutBox
grab TAboutBox $SCRATCH/$1-about.png
click OKButton
trigger ExitFromProgram
EOF
}

for language in Polish English; do
    case $language in
        Polish) prefix=pl ;;
        English) prefix=en ;;
    esac
    rm -rf "$SCRATCH/velmark" "$SCRATCH/bin"
    mkdir -p "$SCRATCH/velmark/logs" "$SCRATCH/bin"
    cp -R data/. "$SCRATCH/velmark/"
    # setup.ini lives beside the program file, so the program runs from a scratch copy.
    cp "$BUILD_DIR/app/gui/velmark" "$SCRATCH/bin/velmark"
    write_setup_ini "$language" "$SCRATCH/velmark"
    write_steps "$prefix" "$SCRATCH/velmark"
    (cd "$SCRATCH/velmark" &&
        VELMARK_SCREENSHOT_SCRIPT="$SCRATCH/steps" QT_QPA_PLATFORM=xcb \
            timeout 300 xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96" "$SCRATCH/bin/velmark")
done

# Window pictures have few colours: a 256-colour palette without dithering keeps every letter
# sharp at a third of the size.
for picture in "$SCRATCH"/*.png; do
    convert "$picture" -strip +dither -colors 256 -define png:compression-level=9 \
        "PNG8:$OUT_DIR/$(basename "$picture")"
done
echo "Screenshots written to $OUT_DIR:"
ls -l "$OUT_DIR"
