# Sourced by the scripts that give a Wine prefix drives of their own.

# Links a folder under FOLDER to each letter of $WINEPREFIX as a drive of the type Wine's mount
# manager is told (floppy is a removable drive to Wine, cdrom an optical one, network a remote
# one). The mount manager reads the types when it starts: the caller restarts the server after.
map_wine_drives() { # FOLDER LETTER=TYPE...
    local folder=$1 drive letter
    shift
    for drive in "$@"; do
        letter=${drive%%=*}
        mkdir -p "$folder/$letter"
        ln -sfn "$folder/$letter" "$WINEPREFIX/dosdevices/$letter:"
        wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /t REG_SZ /d "${drive#*=}" /f \
            < /dev/null > /dev/null 2>&1
    done
}
