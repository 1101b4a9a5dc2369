-- The catalogue table of the benchmarks: @ROWS@ valves in about 20 series, made
-- from arithmetic on the row number so every run builds the same rows.
-- * (series, dn) is unique, so ORDER BY series, dn has one order in every SQL engine;
-- * the rows are inserted in an order unrelated to that sort (k is a permutation);
-- * h mixes the row number so that the other columns vary independently;
-- * kvs and price carry a third (and fourth) decimal that is never a 5 followed by
--   zeros, so no formatting to 2 decimals meets a rounding tie;
-- * material holds "&", "<" and ">" (escaped on the page) and no quote characters.
CREATE TABLE valves (
  id INTEGER PRIMARY KEY,
  series TEXT,
  dn INTEGER,
  pn INTEGER,
  kvs REAL,
  material TEXT,
  price REAL,
  in_stock BOOLEAN
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < @ROWS@),
p(i, k, h) AS (SELECT i, (i * 7919) % @ROWS@, (i * 2654435761) % 4294967291 FROM n)
INSERT INTO valves
SELECT i,
       'Series ' || char(65 + k % 20),
       10 + 5 * (k / 20),
       CASE (h / 7) % 5 WHEN 0 THEN 6 WHEN 1 THEN 10 WHEN 2 THEN 16 WHEN 3 THEN 25 ELSE 40 END,
       (h % 99991) / 1000.0 + 0.0013,
       CASE (h / 35) % 8
         WHEN 0 THEN 'Stainless steel 1.4408'
         WHEN 1 THEN 'Brass & bronze'
         WHEN 2 THEN 'PTFE <FDA> lined'
         WHEN 3 THEN 'Cast iron EN-GJL-250'
         WHEN 4 THEN 'Ductile iron > GJS-400'
         WHEN 5 THEN 'PVC-U'
         WHEN 6 THEN 'Carbon steel A105 & ENP'
         ELSE 'Hastelloy C-276'
       END,
       (100000 + (h / 280) % 9900000) / 100.0 + ((h / 11) % 4) / 1000.0,
       CASE WHEN (h / 13) % 3 <> 0 THEN 1 ELSE 0 END
FROM p;
