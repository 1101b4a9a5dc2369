-- The product catalogue of the sample application: valve series and the valves of
-- each series with their nominal size (DN) and flow coefficient (Kvs, in m³/h at
-- 1 bar pressure drop). This file is Windows-1252 text; the build turns it into the
-- password-protected Database/VantrelKVT.QDB with the sqlcipher shell.
PRAGMA key = 'ferntopaz7153';

CREATE TABLE series (
  code TEXT PRIMARY KEY,
  sort INTEGER,
  name TEXT,
  pn INTEGER,
  tmax INTEGER,
  body_de TEXT, body_fr TEXT, body_it TEXT, body_en TEXT
);

INSERT INTO series VALUES
  ('QK', 1, 'Quorvel QK 200 Kompakt', 16, 130, 'Rotguss, Gewinde', 'Bronze, taraudé', 'Bronzo, filettato', 'Bronze, threaded'),
  ('QF', 2, 'Quorvel QF 400 Flansch', 16, 150, 'Grauguss, Flansche', 'Fonte grise, brides', 'Ghisa grigia, flange', 'Cast iron, flanged'),
  ('QS', 3, 'Quorvel QS 600 Edelstahl', 40, 220, 'Edelstahl 1.4408, Flansche', 'Acier inoxydable 1.4408, brides', 'Acciaio inox 1.4408, flange', 'Stainless steel 1.4408, flanged');

CREATE TABLE valves (
  articleno TEXT PRIMARY KEY,
  series TEXT REFERENCES series(code),
  dn INTEGER,
  kvs REAL,
  price REAL,
  stock BOOLEAN
);

INSERT INTO valves VALUES
  ('QK-15-16', 'QK', 15, 1.6, 148.5, 1),
  ('QK-15-25', 'QK', 15, 2.5, 148.5, 1),
  ('QK-15-40', 'QK', 15, 4, 152, 1),
  ('QK-20-63', 'QK', 20, 6.3, 176, 1),
  ('QK-25-10', 'QK', 25, 10, 214, 0),
  ('QK-32-16', 'QK', 32, 16, 289, 1),
  ('QK-40-25', 'QK', 40, 25, 365, 1),
  ('QK-50-40', 'QK', 50, 40, 512.75, 0),
  ('QF-50-40', 'QF', 50, 40, 890, 1),
  ('QF-65-63', 'QF', 65, 63, 1120, 1),
  ('QF-80-100', 'QF', 80, 100, 1385, 1),
  ('QF-100-160', 'QF', 100, 160, 1840, 0),
  ('QF-125-250', 'QF', 125, 250, 2675, 1),
  ('QF-150-400', 'QF', 150, 400, 3590.5, 0),
  ('QS-15-25', 'QS', 15, 2.5, 612, 1),
  ('QS-20-63', 'QS', 20, 6.3, 688, 1),
  ('QS-25-10', 'QS', 25, 10, 745, 1),
  ('QS-40-25', 'QS', 40, 25, 1033, 0),
  ('QS-50-40', 'QS', 50, 40, 1490, 1),
  ('QS-80-100', 'QS', 80, 100, 2460, 1),
  ('QS-100-160', 'QS', 100, 160, 3315, 0);
