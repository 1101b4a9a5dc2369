-- The local data store of the sample application: the selections a user saved.
-- The build creates Database/VantrelLocal.QDB from this file when it is missing
-- (an existing store is kept, with the selections saved in it).
PRAGMA key = 'ferntopaz7153';

CREATE TABLE selections (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  articleno TEXT,
  series TEXT,
  dn INTEGER,
  kvs REAL,
  flow REAL,
  dp REAL,
  kvsreq REAL
);
