<?php
// The catalogue reference page in PHP: PDO on SQLite, output buffering.
//   php catalogue.php DB N BATCHES OUT
// Renders once to warm up, then BATCHES batches of N renders, printing one line
// "batch MS" per batch; the last page rendered goes to OUT.
// PHP's SQLite driver cannot open SQLCipher files, so DB is a plain copy of the data.

function render(PDO $db): string
{
    ob_start();
    $rows = $db->query('SELECT * FROM valves ORDER BY series, dn')->fetchAll(PDO::FETCH_ASSOC);
    echo "<table class=\"catalogue\">\r\n";
    $series = null;
    $count = 0;
    foreach ($rows as $r) {
        if ($r['series'] !== $series) {
            if ($series !== null) {
                echo '<tr class="count"><td colspan="7">', $count, " valves</td></tr>\r\n";
            }
            $series = $r['series'];
            $count = 0;
            echo '<tr class="series"><th colspan="7">', htmlspecialchars($series), "</th></tr>\r\n";
        }
        ++$count;
        echo '<tr><td>', $r['id'], '</td><td>', $r['dn'], '</td><td>', $r['pn'], '</td><td>',
            number_format($r['kvs'], 2, '.', ''), '</td><td>', htmlspecialchars($r['material']), '</td><td>',
            number_format($r['price'], 2), '</td><td>', $r['in_stock'] ? 'yes' : 'no', "</td></tr>\r\n";
    }
    if ($series !== null) {
        echo '<tr class="count"><td colspan="7">', $count, " valves</td></tr>\r\n";
    }
    echo "</table>\r\n";
    return ob_get_clean();
}

[$script, $path, $n, $batches, $out] = $argv;
$db = new PDO('sqlite:' . $path, null, null, [PDO::SQLITE_ATTR_OPEN_FLAGS => PDO::SQLITE_OPEN_READONLY]);
$db->setAttribute(PDO::ATTR_ERRMODE, PDO::ERRMODE_EXCEPTION);
$page = render($db);
for ($b = 0; $b < (int)$batches; ++$b) {
    $start = hrtime(true);
    for ($i = 0; $i < (int)$n; ++$i) {
        $page = render($db);
    }
    printf("batch %.3f\n", (hrtime(true) - $start) / 1e6);
}
file_put_contents($out, $page);
