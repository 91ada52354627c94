#!/usr/bin/env bash
# The wizard in a second and a third language, chosen on the flag page. In a Japanese locale (so in code page
# 932) the wizard opens in the user's own language; French turns the language page at once and the welcome page
# comes in French; Back, then Japanese gives the rest of the wizard in Japanese, up to its finish page. The install leaves what the English defaults
# leave, and the uninstaller takes it away again.
#
#   tests/e2e/languages.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

# The flag cells, at page positions: English, French in the first row, German, Japanese in the second.
french_cell="370 32"
japanese_cell="370 80"

e2e_locale ja_JP || e2e_finish
e2e_state "$e2e_tmp/before"
e2e_start_setup

e2e_page '言語の選択' '次へ >' 'キャンセル' || e2e_abort "the wizard did not start in Japanese"
sw_page_click "$e2e_id" $french_cell
# The container's caption follows at the next page change; the page's own controls turn at once.
e2e_page '言語の選択' 'Suivant >' 'Annuler'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'Bienvenue' 'Suivant >' '< Précédent' 'Annuler' 'Ce programme va installer le logiciel sur votre ordinateur.'
sw_page_click "$e2e_id" $SW_BACK_BTN

e2e_page 'Choisissez une langue' 'Suivant >' || e2e_abort "Back did not return to the language page"
sw_page_click "$e2e_id" $japanese_cell
e2e_page 'Choisissez une langue' '次へ >' 'キャンセル'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'ようこそ' '次へ >' '< 戻る' 'このプログラムはソフトウェアをコンピュータにインストールします。' ||
    e2e_abort "no Japanese welcome page"
sw_page_keys "$e2e_id" Return
e2e_page 'ソフトウェア使用許諾契約' 'SETWRIGHT DEMO LICENSE AGREEMENT'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'お読みください' 'Setwright Demo 1.0'
sw_page_keys "$e2e_id" Return
e2e_page 'インストールするコンポーネントの選択' '参照(&B)...'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'スタート メニューのフォルダの選択' '既存のフォルダ(&X)' || e2e_abort "no Japanese folder page"
sw_page_keys "$e2e_id" Return
e2e_page 'セットアップの完了' '完了' || e2e_abort "the install did not complete"
sw_page_click "$e2e_id" $SW_FINISH_BTN
e2e_wait_setup 0

e2e_defaults_installed_and_removed
e2e_finish
