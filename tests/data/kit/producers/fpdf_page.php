<?php
// Writes fpdf_page.pdf for the test-PDF kit with FPDF (php-fpdf): headings and a table in the
// standard Helvetica (not embedded, cp1252 codes), a paragraph in Liberation Serif embedded as
// a TrueType subset whose codes follow cp1252, and one Cyrillic line in Liberation Sans whose
// codes follow cp1251 through a /Differences array. FPDF writes no ToUnicode.
// Usage: php fpdf_page.php OUT.pdf WORK_DIR   (font definitions are generated in WORK_DIR)
$out = $argv[1];
$work = $argv[2];
define('FPDF_FONTPATH', $work);
require_once('/usr/share/php/fpdf/fpdf.php');

// The standard fonts' metric files and the generated TrueType definitions share one folder.
foreach (['helvetica', 'helveticab', 'helveticai'] as $name) {
    copy("/usr/share/php/fpdf/font/$name.php", "$work/$name.php");
}
chdir($work);
$liberation = '/usr/share/fonts/truetype/liberation2';
// FPDF's makefont script (a command-line program) writes each font's definition and subset data.
foreach ([['LiberationSerif-Regular.ttf', 'cp1252'], ['LiberationSans-Regular.ttf', 'cp1251']]
         as [$file, $encoding]) {
    exec(escapeshellarg(PHP_BINARY) . ' /usr/share/php/fpdf/makefont/makefont.php '
         . escapeshellarg("$liberation/$file") . " $encoding", $said, $status);
    if ($status != 0) {
        fwrite(STDERR, implode("\n", $said) . "\n");
        exit(1);
    }
}

// Source text is UTF-8; FPDF takes bytes in the font's code page.
function cp($text, $page = 'CP1252') { return iconv('UTF-8', $page, $text); }

$pdf = new FPDF('P', 'pt', 'Letter');
$pdf->SetTitle('FPDF kit sample');
$pdf->AddFont('Serif', '', 'LiberationSerif-Regular.php');
$pdf->AddFont('Cyrillic', '', 'LiberationSans-Regular.php');
$pdf->SetMargins(54, 54);
$pdf->AddPage();
$pdf->SetFont('Helvetica', 'B', 20);
$pdf->Cell(0, 28, 'Weather Station Log', 0, 1);
$pdf->SetFont('Serif', '', 11);
$pdf->MultiCell(0, 15, cp('The coastal station logged 1,362 readings in June; gusts peaked at '
    . '87.5 km/h (up 9%) on the 21st. Maintenance crews replaced the anemometer, and the '
    . 'café at the lighthouse reopened after the storm.'));
$pdf->Ln(6);
$pdf->SetFont('Helvetica', 'B', 14);
$pdf->Cell(0, 22, 'Monthly means', 0, 1);
$pdf->SetFont('Helvetica', 'B', 10);
foreach (['Quantity', 'Value', 'Unit'] as $head) {
    $pdf->Cell(110, 16, $head, 1);
}
$pdf->Ln();
$pdf->SetFont('Helvetica', '', 10);
foreach ([['Temperature', '14.2', 'degC'], ['Rainfall', '63.8', 'mm'],
          ['Pressure', '1,012.6', 'hPa']] as $row) {
    $pdf->Cell(110, 16, $row[0], 1);
    $pdf->Cell(110, 16, $row[1], 1, 0, 'R');
    $pdf->Cell(110, 16, $row[2], 1);
    $pdf->Ln();
}
$pdf->Ln(8);
$pdf->SetFont('Helvetica', 'I', 11);
$pdf->Cell(0, 16, cp('Calibrated by the Météo team — sensors checked twice.'), 0, 1);
$pdf->SetFont('Cyrillic', '', 11);
$pdf->Cell(0, 16, cp('Русский: ясная погода, ветер слабый.', 'CP1251'), 0, 1);
$pdf->Output('F', $out);
