# Reads the text grid of the material list from a plain PGM picture of the list's inside
# and checks it against the expected lines, without OCR: the list's font puts every
# character in a cell of the same size, so every occurrence of one character must give
# the same pixels, different characters must give different pixels, and blanks, the
# rest of each line and the lines after the last must hold no ink. That ties the picture
# to the expected text up to the shapes of the glyphs, whatever the font.
#
# Variables: expect (file of expected lines), cw (cell width), lh (line height).
# Prints one "ok" line with figures, or "fail: ..." lines; exit status 1 on failure.

function fail(message) {
    if (failed < 12)
        print "fail: " message
    else if (failed == 12)
        print "fail: (further differences not shown)"
    failed++
}

# Whether the pixel counts as ink: clearly darker than the list's background.
function ink(x, y) {
    return px[x, y] < 224
}

function cellHasInk(x0, y0,    x, y) {
    for (y = y0; y < y0 + lh && y < height; y++)
        for (x = x0 + 1; x < x0 + cw && x < width; x++)
            if (y >= 0 && x >= 0 && ink(x, y))
                return 1
    return 0
}

function cellPixels(x0, y0,    x, y, s) {
    s = ""
    for (y = y0; y < y0 + lh; y++)
        for (x = x0 + 1; x < x0 + cw; x++)
            s = s ((y >= 0 && y < height && x >= 0 && x < width) ? px[x, y] : 255) ","
    return s
}

/^#/ { next }
{
    for (i = 1; i <= NF; i++)
        token[count++] = $i
}

END {
    if (token[0] != "P2" || count < 4) {
        print "fail: the list picture is not a plain PGM"
        exit 1
    }
    width = token[1] + 0
    height = token[2] + 0
    if (count < 4 + width * height) {
        print "fail: the list picture is cut short"
        exit 1
    }
    firstX = width
    firstY = height
    for (y = 0; y < height; y++)
        for (x = 0; x < width; x++) {
            px[x, y] = token[4 + y * width + x] + 0
            if (ink(x, y)) {
                if (x < firstX) firstX = x
                if (y < firstY) firstY = y
            }
        }
    if (firstX == width) {
        print "fail: the list shows no text at all"
        exit 1
    }

    lines = 0
    while ((getline line < expect) > 0)
        want[lines++] = line
    close(expect)

    # The grid's column phase: the offset whose columns of pixels carry the least ink.
    # Glyphs may reach one pixel past their cell, so that first column of each cell is
    # left out of every comparison.
    colPhase = -1
    for (p = 0; p < cw; p++) {
        amount = 0
        for (x = p; x < width; x += cw)
            for (y = 0; y < height; y++)
                if (ink(x, y)) amount++
        if (colPhase < 0 || amount < least) {
            colPhase = p
            least = amount
        }
    }
    # The cell that holds the first ink is the first character of the first line. Every
    # line starts with capitals, so the first ink row is the top of the first line.
    left = firstX - ((firstX - colPhase) % cw + cw) % cw
    top = firstY

    columns = int((width - left + cw - 1) / cw)
    rows = int((height - top + lh - 1) / lh)
    glyphs = 0
    for (row = 0; row < rows; row++) {
        text = row < lines ? want[row] : ""
        shown = 0
        for (col = 0; col < columns; col++) {
            x0 = left + col * cw
            y0 = top + row * lh
            ch = col < length(text) ? substr(text, col + 1, 1) : " "
            hasInk = cellHasInk(x0, y0)
            shown = shown || hasInk
            if (ch == " ") {
                if (hasInk)
                    fail("line " row + 1 ", column " col + 1 ": ink where the text has a blank or has ended")
                continue
            }
            if (!hasInk) {
                fail("line " row + 1 ", column " col + 1 ": no ink where the text has '" ch "'")
                continue
            }
            pixels = cellPixels(x0, y0)
            if (!(ch in glyph)) {
                if (pixels in owner)
                    fail("line " row + 1 ", column " col + 1 ": '" ch "' is drawn like '" owner[pixels] "'")
                else {
                    glyph[ch] = pixels
                    owner[pixels] = ch
                    glyphs++
                }
            } else if (glyph[ch] != pixels)
                fail("line " row + 1 ", column " col + 1 ": '" ch "' is drawn unlike its other occurrences")
        }
        if (row >= lines && shown)
            fail("line " row + 1 " shows text; " lines " lines were expected")
    }
    if (failed)
        exit 1
    printf "ok: %d lines, %d distinct characters, cells %dx%d from (%d,%d) of the list's inside\n", lines, glyphs, cw, lh, left, top
}
