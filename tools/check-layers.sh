#!/bin/sh
# Checks that every folder of the processing core includes headers only from its own folder and
# the folders below it: core <- settings <- dxcc <- dxcc_import <- input <- output <- cabrillo
# <- run <- labels. Prints each include that reaches up and exits 1 when there is one.
cd "$(dirname "$0")/.." || exit 2
layers="core settings dxcc dxcc_import input output cabrillo run labels"
status=0
below=""
for layer in $layers; do
    allowed="$below $layer"
    for file in "$layer"/*.h "$layer"/*.cpp "$layer"/*.def; do
        [ -f "$file" ] || continue
        for used in $(sed -n 's|^#include "\([a-z_]*\)/.*|\1|p' "$file" | sort -u); do
            case " $allowed " in
                *" $used "*) ;;
                *) echo "$file includes $used/, a folder above $layer/"; status=1 ;;
            esac
        done
    done
    below="$allowed"
done
exit $status
