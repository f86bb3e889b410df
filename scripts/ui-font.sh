# The font that stands in for "ＭＳ Ｐゴシック" (the dialogs' font) in every Wine bed, with the
# Debian package that brings it. Read by setup.sh and wine-env.sh; scripts/measure-fonts.sh
# measures the candidates. A change re-initialises existing prefixes.
UI_FONT_FAMILY="Ume P Gothic"
UI_FONT_PACKAGE=fonts-horai-umefont
