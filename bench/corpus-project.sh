#!/usr/bin/env bash
# Prints the install project (text form) of a corpus folder: every file in it a
# file component of one install driver, packed into files.1, installed below
# Program Files\Corpus; the files are named relative to the folder the build
# runs in, as "corpus\<name>".
#   bash bench/corpus-project.sh CORPUS_FOLDER [--progress] > project.txt
# With --progress the project also has a copy-progress manager: the progress
# window shows while the files are installed, and its Cancel asks the user to
# confirm (the handler ConfirmAbort, bench/ConfirmAbort.cpp).
set -euo pipefail
corpus=${1:?corpus folder}
progress=${2:-}
printf "object Form1: TForm1\n"
for specifier in psContainerArchiveFile psContainerDestDir psProgramFiles; do
    printf "  object %s: T%s\n  end\n" "$specifier" "$specifier"
done
printf "  object Install1: TInstall\n    DestDir = '\\\\Corpus'\n    DestDirType = psProgramFiles\n"
printf "    Information.ProductName = 'Corpus'\n    UseLoadingProgram = True\n"
[ "$progress" = --progress ] && printf "    OnUserAbort = ConfirmAbort\n"
printf "  end\n"
id=0
for f in "$corpus"/*; do
    id=$((id + 1))
    name=$(basename "$f")
    printf "  object F%d: TInstallFile\n    ArchiveFileType = psContainerArchiveFile\n" "$id"
    printf "    Container = Install1\n    DestDirType = psContainerDestDir\n"
    printf "    DestName = '%s'\n    FileName = '%s'\n    IncludeFromDir = 'corpus'\n" "$name" "$name"
    printf "    UniqueID = %d\n  end\n" "$id"
done
if [ "$progress" = --progress ]; then
    printf "  object CopyProgress: TDialogManager\n    Container = Install1\n    ManagerType = dmDuringCopyFiles\n  end\n"
fi
printf "end\n"
